// One member of an archive being built, with the source file it came from.
#pragma once

#include <string>
#include <vector>

struct ArchiveEntry {
  std::string name;
  std::vector<char> bytes;
  std::string source;
};
