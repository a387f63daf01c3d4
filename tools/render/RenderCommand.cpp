#include "render/RenderCommand.h"

#include <new>
#include <optional>

#include "render/ArchiveStage.h"
#include "render/DemoFileName.h"
#include "render/DemoRun.h"
#include "render/EditorPicture.h"
#include "render/EffectModule.h"
#include "render/EffectSetup.h"
#include "render/FileBatch.h"
#include "render/ModuleListing.h"
#include "render/OutputDirectory.h"
#include "render/RenderError.h"
#include "render/RenderOptions.h"
#include "render/SoundAnalysis.h"
#include "render/StreamedRender.h"

namespace {

constexpr int kFailed = 1;
constexpr int kWrongUsage = 2;

// --preset all: each description with the same parameters, its plot titled
// with its name.
std::vector<BatchVariant> everyDescription(EffectModule& module, const EffectSettings& settings,
                                           std::ostream& err) {
  const PresetCatalogue catalogue = probeModuleCatalogue(module);
  if (catalogue.descriptions().empty())
    throw RenderError("module " + module.path() + " lists no graph descriptions");
  std::vector<BatchVariant> variants;
  for (const int index : renderableDescriptions(catalogue, err)) {
    EffectSettings described = settings;
    described.preset = EffectSettings::Value{*catalogue.parameterIndex(), static_cast<float>(index)};
    const std::string& name = catalogue.descriptions()[static_cast<std::size_t>(index)].name;
    variants.push_back({"-" + demoFileStem(index, name), described, name});
  }
  return variants;
}

int renderJobs(const RenderOptions& options, EffectModule& module, RenderConsole& console) {
  const bool every = options.everyPreset();
  const EffectSettings settings =
      resolveModuleSettings(module, every ? std::nullopt : options.preset, options.parameters);
  if (options.mode == RenderMode::render && rendersStandardStreams(options)) {
    return renderStandardStreams(options, settings, module, console);
  }
  if (options.mode == RenderMode::render) {
    return renderFiles({{options.inputPath, options.outputPath, settings, "", ""}}, options, module, console);
  }
  const std::vector<FileJob> jobs = batchJobs(options, every ? everyDescription(module, settings, console.err)
                                                             : std::vector<BatchVariant>{{"", settings, ""}});
  prepareOutputDirectory(options.outputDirectory);
  return renderFiles(jobs, options, module, console);
}

int run(const RenderOptions& options, RenderConsole& console) {
  if (options.mode == RenderMode::render) checkRenderOutput(options.inputPath, options.outputPath);
  std::optional<ArchiveStage> archive;
  if (!options.archivePath.empty()) archive.emplace(options.archivePath);
  EffectModule module(options.modulePath.empty() ? defaultModulePath() : options.modulePath,
                      archive ? archive->directory().string() : std::string());
  switch (options.mode) {
    case RenderMode::render:
    case RenderMode::batch:
      return renderJobs(options, module, console) == 0 ? 0 : kFailed;
    case RenderMode::list:
      listModule(module, console.out);
      break;
    case RenderMode::demo:
      runDemo(options, module, console);
      break;
    case RenderMode::analyse:
      writeSoundAnalysis(options, module, console);
      break;
    case RenderMode::snapshot:
      writeEditorPicture(options, module.archiveDirectory(), options.snapshotPath);
      break;
    case RenderMode::help:
      break;
  }
  return 0;
}

}  // namespace

int runRenderCommand(const std::vector<std::string>& arguments, RenderConsole& console) {
  try {
    const RenderOptions options = parseRenderOptions(arguments);
    if (options.mode == RenderMode::help) {
      console.out << renderUsage();
      return 0;
    }
    return run(options, console);
  } catch (const UsageError& error) {
    console.err << "torvix-render: " << error.what() << " (see --help)\n";
    return kWrongUsage;
  } catch (const RenderError& error) {
    console.err << "torvix-render: " << error.what() << '\n';
    return kFailed;
  } catch (const std::bad_alloc&) {
    console.err << "torvix-render: out of memory\n";
    return kFailed;
  }
}
