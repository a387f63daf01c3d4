// The arguments of torvix-pack.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

struct PackCommandLine {
  enum class Mode { kPack, kList, kExplain, kDot, kHelp };

  Mode mode = Mode::kHelp;
  // --strict: warnings refuse the archive.
  bool strict = false;
  // The archive to write or list, or the description to explain.
  std::string target;
  // The folder of sources to pack.
  std::string folder;
};

// Arguments that form no command.
class PackUsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// "[--strict] ARCHIVE FOLDER", "--list ARCHIVE", "--explain FILE", "--dot FILE" or
// "--help"/"-h" (which wins wherever it stands). An argument that begins with '-' is an
// option, never a path. Throws PackUsageError otherwise.
PackCommandLine parsePackCommandLine(const std::vector<std::string>& arguments);

extern const char* const kPackUsage;
