// A copy of a module's archive whose descriptions run at the host's rate, to show what
// their oversampling buys.
#pragma once

#include <filesystem>
#include <string>

#include "render/ScratchDirectory.h"

// Holds "a.zip" in a scratch directory: the members of the archive in archiveDirectory
// ("a.zip", else "torvix.data"), every graph description's <torvix> root without its
// "oversampling". Removed when destroyed.
class FactorOneArchive {
 public:
  // Throws RenderError when the archive cannot be read or the copy written.
  explicit FactorOneArchive(const std::string& archiveDirectory);

  // Whether archiveDirectory holds an archive to copy.
  static bool existsIn(const std::string& archiveDirectory);

  // The directory to give the module as its own.
  std::string directory() const;

 private:
  ScratchDirectory stage;
};
