#include "effect/ModuleDirectory.h"

#include "effect/ArchiveLock.h"

namespace {
std::string& storedDirectory() {
  static std::string directory;
  return directory;
}
}  // namespace

// The archive lock guards the text too: it is read while opening the archive
// and may be set by another instance's constructor at the same time.
std::string moduleDirectory() {
  ArchiveLockGuard guard;
  return storedDirectory();
}

void setModuleDirectory(const std::string& directory) {
  ArchiveLockGuard guard;
  storedDirectory() = directory;
}
