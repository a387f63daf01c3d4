// One member of an archive being built, with the source file it came from.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "pack/PresetText.h"

struct ArchiveEntry {
  std::string name;
  std::vector<char> bytes;
  std::string source;
  // For a member encoded from a preset text: the text as parsed.
  std::optional<PresetText> preset = std::nullopt;
};
