// Real ZIP files written with minizip's zip writer, for tests of code that
// reads archives. Users link minizip (torvix_effect brings it).
#pragma once

#include <zip.h>

#include <filesystem>
#include <string>
#include <vector>

struct ZipFixtureMember {
  std::string name;
  std::string bytes;
  bool deflated = true;
};

// Writes the members, in order, as the archive at path; false on failure.
inline bool writeZipFixture(const std::filesystem::path& path, const std::vector<ZipFixtureMember>& members) {
  zipFile archive = zipOpen(path.string().c_str(), APPEND_STATUS_CREATE);
  if (!archive) return false;
  bool written = true;
  for (const ZipFixtureMember& member : members) {
    zip_fileinfo info = {};
    int method = member.deflated ? Z_DEFLATED : 0;
    written = written &&
              zipOpenNewFileInZip(archive, member.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                                  method, Z_DEFAULT_COMPRESSION) == ZIP_OK &&
              zipWriteInFileInZip(archive, member.bytes.data(), static_cast<unsigned>(member.bytes.size())) ==
                  ZIP_OK &&
              zipCloseFileInZip(archive) == ZIP_OK;
  }
  return zipClose(archive, nullptr) == ZIP_OK && written;
}
