#include "render/ArchiveStage.h"

#include <stdlib.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <system_error>

#include "render/RenderError.h"

namespace {

// The module takes a reported directory holding ".so" for a module's file
// name, so the stage must not lie below such a name.
constexpr const char* kModuleExtension = ".so";

std::filesystem::path makeStageDirectory() {
  std::string pattern = (std::filesystem::temp_directory_path() / "torvix-archive-XXXXXX").string();
  if (pattern.find(kModuleExtension) != std::string::npos) pattern = "/tmp/torvix-archive-XXXXXX";
  if (!mkdtemp(pattern.data())) {
    throw RenderError("cannot make a directory for the archive: " + std::string(std::strerror(errno)));
  }
  return pattern;
}

}  // namespace

ArchiveStage::ArchiveStage(const std::filesystem::path& archive) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(archive, error)) {
    throw RenderError("cannot read archive " + archive.string() + ": " +
                      (std::filesystem::exists(archive, error) ? "not a regular file" : "no such file"));
  }
  stage = makeStageDirectory();
  std::filesystem::create_symlink(std::filesystem::absolute(archive), stage / "a.zip", error);
  if (error) {
    std::error_code ignored;
    std::filesystem::remove_all(stage, ignored);
    throw RenderError("cannot use archive " + archive.string() + ": " + error.message());
  }
}

ArchiveStage::~ArchiveStage() {
  std::error_code ignored;
  std::filesystem::remove_all(stage, ignored);
}
