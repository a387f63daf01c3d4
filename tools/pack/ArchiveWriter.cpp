#include "pack/ArchiveWriter.h"

#include <zip.h>

#include "pack/PackError.h"

namespace {

namespace fs = std::filesystem;

bool writeEntry(zipFile archive, const ArchiveEntry& entry) {
  zip_fileinfo info = {};
  info.tmz_date.tm_mday = 1;
  info.tmz_date.tm_year = 1980;
  if (zipOpenNewFileInZip(archive, entry.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                          Z_BEST_COMPRESSION) != ZIP_OK)
    return false;
  bool written =
      zipWriteInFileInZip(archive, entry.bytes.data(), static_cast<unsigned>(entry.bytes.size())) == ZIP_OK;
  return zipCloseFileInZip(archive) == ZIP_OK && written;
}

bool writeZip(const fs::path& path, const std::vector<ArchiveEntry>& entries) {
  zipFile archive = zipOpen(path.string().c_str(), APPEND_STATUS_CREATE);
  if (!archive) return false;
  bool written = true;
  for (const ArchiveEntry& entry : entries) written = written && writeEntry(archive, entry);
  return zipClose(archive, nullptr) == ZIP_OK && written;
}

}  // namespace

void writeArchive(const fs::path& path, const std::vector<ArchiveEntry>& entries) {
  fs::path temporary = path;
  temporary += ".partial";
  std::error_code error;
  if (!writeZip(temporary, entries)) {
    fs::remove(temporary, error);
    throw packError(path.string(), 0, "cannot be written");
  }
  fs::rename(temporary, path, error);
  if (error) {
    std::string reason = error.message();
    fs::remove(temporary, error);
    throw packError(path.string(), 0, "cannot be written: " + reason);
  }
}
