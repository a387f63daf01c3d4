// torvix-pack [--strict] ARCHIVE.zip FOLDER   builds the resource archive from its sources
// torvix-pack --list ARCHIVE   lists any archive, presets decoded to text
// torvix-pack --explain FILE   shows a description's evaluation chain and buffers
// torvix-pack --dot FILE       writes a description's graph as Graphviz DOT
#include <iostream>

#include "pack/ArchiveLister.h"
#include "pack/ArchiveOutput.h"
#include "pack/ArchiveSources.h"
#include "pack/ArchiveWriter.h"
#include "pack/DescriptionCheck.h"
#include "pack/DescriptionExplain.h"
#include "pack/PackCommandLine.h"
#include "pack/PackError.h"

namespace {

int pack(const PackCommandLine& command) {
  checkArchiveOutput(command.target, command.folder);
  const std::vector<ArchiveEntry> entries = collectArchiveSources(command.folder);
  const PackWarnings warnings = checkDescriptions(entries);
  for (const PackWarning& warning : warnings.all()) std::cerr << warning.text() << "\n";
  if (command.strict && !warnings.empty()) {
    std::cerr << "torvix-pack: --strict: " << warnings.all().size() << " warning"
              << (warnings.all().size() == 1 ? "" : "s") << ", no archive written\n";
    return 1;
  }
  writeArchive(command.target, entries);
  return 0;
}

int run(const PackCommandLine& command) {
  switch (command.mode) {
    case PackCommandLine::Mode::kHelp:
      std::cout << kPackUsage;
      return 0;
    case PackCommandLine::Mode::kList:
      listArchive(command.target, std::cout);
      return 0;
    case PackCommandLine::Mode::kExplain:
      explainDescriptionFile(command.target, ExplainFormat::kText, std::cout);
      return 0;
    case PackCommandLine::Mode::kDot:
      explainDescriptionFile(command.target, ExplainFormat::kDot, std::cout);
      return 0;
    case PackCommandLine::Mode::kPack:
      return pack(command);
  }
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return run(parsePackCommandLine(std::vector<std::string>(argv + 1, argv + argc)));
  } catch (const PackUsageError& error) {
    std::cerr << "torvix-pack: " << error.what() << "\n" << kPackUsage;
    return 2;
  } catch (const PackError& error) {
    std::cerr << error.what() << "\n";
  } catch (const std::exception& error) {
    std::cerr << "torvix-pack: " << error.what() << "\n";
  }
  return 1;
}
