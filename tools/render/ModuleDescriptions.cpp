#include "render/ModuleDescriptions.h"

#include <filesystem>

#include "effect/ArchiveDescriptions.h"
#include "effect/ArchiveSession.h"
#include "effect/InternalHost.h"
#include "effect/ModuleDirectory.h"

namespace {

// Points this process's archive code at the archive's directory for its lifetime.
class ModuleDirectoryScope {
 public:
  explicit ModuleDirectoryScope(const std::string& archiveDirectory) : previous(moduleDirectory()) {
    setModuleDirectory((std::filesystem::path(archiveDirectory) / "").string());
  }
  ~ModuleDirectoryScope() { setModuleDirectory(previous); }
  ModuleDirectoryScope(const ModuleDirectoryScope&) = delete;
  ModuleDirectoryScope& operator=(const ModuleDirectoryScope&) = delete;

 private:
  std::string previous;
};

}  // namespace

std::optional<std::vector<ModuleDescription>> readModuleDescriptions(const std::string& archiveDirectory) {
  ModuleDirectoryScope directory(archiveDirectory);
  ArchiveSession session;
  if (!session.isOpen()) return std::nullopt;
  std::vector<ModuleDescription> descriptions;
  for (const std::string& name : listArchiveDescriptions())
    descriptions.push_back({name, buildArchiveDescription(name, internalHostCallback).refusal});
  return descriptions;
}
