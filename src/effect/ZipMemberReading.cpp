#include "effect/ZipMemberReading.h"

#include "effect/ResourceArchive.h"

namespace {

bool readAll(unzFile archive, std::vector<char>& content) {
  std::size_t total = 0;
  while (total < content.size()) {
    int count =
        unzReadCurrentFile(archive, content.data() + total, static_cast<unsigned>(content.size() - total));
    if (count <= 0) break;
    total += static_cast<std::size_t>(count);
  }
  return total == content.size();
}

}  // namespace

bool readCurrentZipMember(unzFile archive, std::vector<char>& bytes) {
  if (!archive || unzOpenCurrentFile(archive) != UNZ_OK) return false;
  unz_file_info info;
  bool sizeKnown = unzGetCurrentFileInfo(archive, &info, nullptr, 0, nullptr, 0, nullptr, 0) == UNZ_OK;
  bool fits = sizeKnown && info.uncompressed_size <= kMaxMemberSize;
  std::vector<char> content;
  if (fits) content.resize(info.uncompressed_size);
  bool complete = fits && readAll(archive, content);
  // Closing after a complete read verifies the checksum.
  bool intact = unzCloseCurrentFile(archive) == UNZ_OK;
  if (!complete || !intact) return false;
  bytes.swap(content);
  return true;
}
