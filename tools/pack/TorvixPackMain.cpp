// torvix-pack ARCHIVE FOLDER   builds the resource archive from its sources
// torvix-pack --list ARCHIVE   lists any archive, presets decoded to text
// torvix-pack --explain FILE   shows a description's evaluation chain and buffers
// torvix-pack --dot FILE       writes a description's graph as Graphviz DOT
#include <cstring>
#include <iostream>

#include "pack/ArchiveLister.h"
#include "pack/ArchiveSources.h"
#include "pack/ArchiveWriter.h"
#include "pack/DescriptionCheck.h"
#include "pack/DescriptionExplain.h"
#include "pack/PackError.h"

namespace {

constexpr const char* kUsage =
    "usage: torvix-pack ARCHIVE FOLDER   (build ARCHIVE from the .xml and .preset files in FOLDER)\n"
    "       torvix-pack --list ARCHIVE   (list the members, presets as text)\n"
    "       torvix-pack --explain FILE   (show the evaluation chain and buffers of a description)\n"
    "       torvix-pack --dot FILE       (write the graph of a description as Graphviz DOT)\n";

int run(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << kUsage;
    return 2;
  }
  if (std::strcmp(argv[1], "--list") == 0) {
    listArchive(argv[2], std::cout);
  } else if (std::strcmp(argv[1], "--explain") == 0) {
    explainDescriptionFile(argv[2], ExplainFormat::kText, std::cout);
  } else if (std::strcmp(argv[1], "--dot") == 0) {
    explainDescriptionFile(argv[2], ExplainFormat::kDot, std::cout);
  } else {
    const std::vector<ArchiveEntry> entries = collectArchiveSources(argv[2]);
    checkDescriptions(entries);
    writeArchive(argv[1], entries);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return run(argc, argv);
  } catch (const PackError& error) {
    std::cerr << error.what() << "\n";
  } catch (const std::exception& error) {
    std::cerr << "torvix-pack: " << error.what() << "\n";
  }
  return 1;
}
