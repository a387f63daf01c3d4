#include "pack/ArchiveOutput.h"

#include <unzip.h>

#include "pack/AsciiCase.h"
#include "pack/PackError.h"

namespace {

namespace fs = std::filesystem;

bool isArchiveName(const fs::path& output) {
  const std::string name = asciiLowerCase(output.filename().string());
  return (name.size() > 4 && name.ends_with(".zip")) || name == "torvix.data";
}

bool isZipArchive(const fs::path& path) {
  unzFile archive = unzOpen(path.string().c_str());
  if (!archive) return false;
  unzClose(archive);
  return true;
}

}  // namespace

void checkArchiveOutput(const fs::path& output, const fs::path& sourceFolder) {
  const std::string where = output.string();
  if (!isArchiveName(output))
    throw packError(where, 0, "is not an archive name: the output must end in .zip");
  std::error_code error;
  const fs::file_status status = fs::status(output, error);
  if (fs::exists(status)) {
    if (!fs::is_regular_file(status) || !isZipArchive(output))
      throw packError(where, 0, "exists and is not a ZIP archive: it is left as it is");
  }
  const fs::path outputFolder = fs::weakly_canonical(fs::absolute(output), error).parent_path();
  if (!error && fs::equivalent(outputFolder, sourceFolder, error))
    throw packError(where, 0, "lies among the sources: write the archive outside " + sourceFolder.string());
}
