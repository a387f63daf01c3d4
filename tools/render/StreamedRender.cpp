#include "render/StreamedRender.h"

#include <fstream>
#include <sstream>
#include <string>

#include "render/FileBatch.h"
#include "render/RenderError.h"
#include "render/ScratchDirectory.h"

namespace {

constexpr const char* kStandard = "-";

void copyInto(std::istream& from, std::ostream& to, const std::string& what) {
  to << from.rdbuf();
  to.flush();
  if (!to) throw RenderError("cannot copy " + what);
}

void spoolStandardInput(RenderConsole& console, const std::filesystem::path& file) {
  if (!console.in) throw RenderError("cannot read standard input: there is none");
  std::ofstream spool(file, std::ios::binary);
  if (console.in->peek() == std::char_traits<char>::eof())
    throw RenderError("cannot read standard input: it is empty");
  copyInto(*console.in, spool, "standard input");
}

void replaceAll(std::string& text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
}

// The report with the scratch files called what the user gave.
std::string namingStreams(std::string text, const RenderOptions& options, const FileJob& job) {
  if (options.inputPath == kStandard) replaceAll(text, job.inputPath, "standard input");
  if (options.outputPath == kStandard) replaceAll(text, job.outputPath, "standard output");
  return text;
}

}  // namespace

bool rendersStandardStreams(const RenderOptions& options) {
  return options.inputPath == kStandard || options.outputPath == kStandard;
}

int renderStandardStreams(const RenderOptions& options, const EffectSettings& settings, EffectModule& module,
                          RenderConsole& console) {
  const ScratchDirectory scratch("stream");
  FileJob job{options.inputPath, options.outputPath, settings, "", ""};
  const bool toStandardOutput = options.outputPath == kStandard;
  if (options.inputPath == kStandard) {
    job.inputPath = (scratch.path() / "input").string();
    spoolStandardInput(console, job.inputPath);
  }
  if (toStandardOutput) job.outputPath = (scratch.path() / "output.wav").string();
  std::ostringstream summary;
  std::ostringstream problems;
  RenderConsole reporting{summary, problems, false, nullptr};
  const int failures = renderFiles({job}, options, module, reporting);
  (toStandardOutput ? console.err : console.out) << namingStreams(summary.str(), options, job);
  console.err << namingStreams(problems.str(), options, job);
  if (failures == 0 && toStandardOutput) {
    std::ifstream output(job.outputPath, std::ios::binary);
    copyInto(output, console.out, "the output to standard output");
  }
  return failures;
}
