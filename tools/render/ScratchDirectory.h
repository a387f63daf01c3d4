// A private temporary directory for the length of a run.
#pragma once

#include <filesystem>
#include <string>

// Made in the system's temporary directory as "torvix-PURPOSE-XXXXXX" and
// removed with everything in it when destroyed.
class ScratchDirectory {
 public:
  // Throws RenderError when no directory can be made.
  explicit ScratchDirectory(const std::string& purpose);
  ~ScratchDirectory();
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;

  const std::filesystem::path& path() const { return directory; }

 private:
  std::filesystem::path directory;
};
