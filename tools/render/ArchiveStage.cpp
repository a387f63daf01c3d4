#include "render/ArchiveStage.h"

#include <system_error>

#include "render/RenderError.h"

const std::filesystem::path& ArchiveStage::checkedArchive(const std::filesystem::path& archive) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(archive, error)) {
    throw RenderError("cannot read archive " + archive.string() + ": " +
                      (std::filesystem::exists(archive, error) ? "not a regular file" : "no such file"));
  }
  return archive;
}

ArchiveStage::ArchiveStage(const std::filesystem::path& archive)
    : stage((checkedArchive(archive), "archive")) {
  std::error_code error;
  std::filesystem::create_symlink(std::filesystem::absolute(archive), stage.path() / "a.zip", error);
  if (error) throw RenderError("cannot use archive " + archive.string() + ": " + error.message());
}
