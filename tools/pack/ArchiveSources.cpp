#include "pack/ArchiveSources.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>

#include "effect/ResourceArchive.h"
#include "pack/AsciiCase.h"
#include "pack/FxpProgram.h"
#include "pack/PackError.h"
#include "pack/PresetText.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kDescriptionExtension = ".xml";

std::vector<char> readFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file.is_open()) throw packError(path.string(), 0, "cannot be read");
  return std::vector<char>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

ArchiveEntry presetEntry(const fs::path& path) {
  std::vector<char> text = readFile(path);
  PresetText preset = parsePresetText(std::string(text.begin(), text.end()), path.string());
  std::string programName = path.stem().string();
  const ProcessorInfo& processor = *preset.processor;
  return {programName + ".fxp",
          encodeFxp(processor.uniqueId, processor.effectVersion, programName, preset.values), path.string(),
          preset};
}

void checkName(const ArchiveEntry& entry) {
  if (entry.name.size() >= kListedNameCapacity)
    throw packError(entry.source, 0,
                    "member name '" + entry.name + "' is too long (at most " +
                        std::to_string(kListedNameCapacity - 1) + " characters)");
  bool isDescription = entry.name.ends_with(kDescriptionExtension);
  if (!isDescription && entry.name.find(kDescriptionExtension) != std::string::npos)
    throw packError(
        entry.source, 0,
        "member name '" + entry.name + "' contains '.xml' and would be taken for a graph description");
}

std::vector<fs::path> sourceFiles(const fs::path& folder) {
  std::error_code error;
  fs::directory_iterator listing(folder, error);
  if (error) throw packError(folder.string(), 0, "cannot be listed: " + error.message());
  std::vector<fs::path> files;
  for (const fs::directory_entry& entry : listing) {
    std::string extension = entry.path().extension().string();
    bool isSource = extension == kDescriptionExtension || extension == kPresetExtension;
    if (isSource && entry.is_regular_file()) files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace

std::vector<ArchiveEntry> collectArchiveSources(const fs::path& folder) {
  std::vector<ArchiveEntry> entries;
  // Members are located without regard to the case of A to Z.
  std::map<std::string, std::string> sourceByName;
  for (const fs::path& file : sourceFiles(folder)) {
    ArchiveEntry entry = file.extension() == kPresetExtension
                             ? presetEntry(file)
                             : ArchiveEntry{file.filename().string(), readFile(file), file.string()};
    checkName(entry);
    auto [previous, isNew] = sourceByName.emplace(asciiLowerCase(entry.name), entry.source);
    if (!isNew)
      throw packError(entry.source, 0,
                      "duplicate member '" + entry.name + "' (also made from " + previous->second + ")");
    entries.push_back(std::move(entry));
  }
  return entries;
}
