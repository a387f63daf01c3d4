// Output files that appear only when they are complete.
#pragma once

#include <filesystem>

// Reserves a hidden temporary file beside the destination. The writer fills
// the staging path; commit() renames it onto the destination. Without a
// commit the destructor deletes it, so a failed run leaves neither a partial
// file nor a changed destination behind. A run killed outright cannot clean
// up, so the staging name carries the process id
// (".out.wav.partial-PID-RANDOM") and each new staging file first removes
// those in its directory whose process no longer runs (and those of earlier
// versions, without the id, untouched for ten minutes).
class StagedOutputFile {
 public:
  // Throws RenderError when the destination's directory cannot take a file.
  explicit StagedOutputFile(std::filesystem::path destination);
  ~StagedOutputFile();
  StagedOutputFile(const StagedOutputFile&) = delete;
  StagedOutputFile& operator=(const StagedOutputFile&) = delete;

  const std::filesystem::path& stagingPath() const { return staging; }
  const std::filesystem::path& destinationPath() const { return destination; }

  // Throws RenderError when the rename fails; the staging file is then removed.
  void commit();

 private:
  std::filesystem::path destination;
  std::filesystem::path staging;
  bool committed = false;
};
