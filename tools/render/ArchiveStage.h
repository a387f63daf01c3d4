// Giving the module an archive other than the one beside it.
#pragma once

#include <filesystem>

#include "render/ScratchDirectory.h"

// A temporary directory holding "a.zip", a link to the chosen archive, for
// the host to report as the module's directory (audioMasterGetDirectory),
// where the module looks for its archive. The module's own rules stay as
// they are; only the directory it is told changes. Removed when destroyed.
class ArchiveStage {
 public:
  // Throws RenderError when the archive is not a file or no directory can
  // be made.
  explicit ArchiveStage(const std::filesystem::path& archive);

  const std::filesystem::path& directory() const { return stage.path(); }

 private:
  static const std::filesystem::path& checkedArchive(const std::filesystem::path& archive);

  ScratchDirectory stage;
};
