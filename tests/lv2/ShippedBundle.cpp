#include "ShippedBundle.h"

#include <unzip.h>

std::vector<ZipFixtureMember> readArchiveMembers(const std::filesystem::path& path) {
  std::vector<ZipFixtureMember> members;
  unzFile archive = unzOpen(path.string().c_str());
  if (!archive) return members;
  for (int status = unzGoToFirstFile(archive); status == UNZ_OK; status = unzGoToNextFile(archive)) {
    char name[256];
    unz_file_info info;
    if (unzGetCurrentFileInfo(archive, &info, name, sizeof name, nullptr, 0, nullptr, 0) != UNZ_OK) break;
    std::string bytes(info.uncompressed_size, '\0');
    if (unzOpenCurrentFile(archive) != UNZ_OK) break;
    const int read = unzReadCurrentFile(archive, bytes.data(), static_cast<unsigned>(bytes.size()));
    unzCloseCurrentFile(archive);
    if (read != static_cast<int>(bytes.size())) break;
    members.push_back({name, bytes});
  }
  unzClose(archive);
  return members;
}

bool writeBundle(const std::filesystem::path& directory, const std::vector<ZipFixtureMember>& members) {
  std::error_code error;
  std::filesystem::create_directories(directory, error);
  for (const char* file : {"torvix_distortion_lv2.so", "manifest.ttl", "torvix-distortion.ttl"}) {
    std::filesystem::copy_file(shippedBundle() / file, directory / file,
                               std::filesystem::copy_options::overwrite_existing, error);
    if (error) return false;
  }
  return writeZipFixture(directory / "a.zip", members);
}
