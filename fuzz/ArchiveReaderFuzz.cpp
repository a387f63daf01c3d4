// The resource archive reader over arbitrary whole archive files: each input
// becomes the module directory's a.zip, which is listed, and every listed
// member is located and read. Nothing may crash, hang or leak; a listed name
// fits the listing; a read never passes the member size limit, and a refused
// read leaves the caller's bytes as they were.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "effect/ArchiveSession.h"
#include "effect/ModuleDirectory.h"
#include "effect/ResourceArchive.h"
#include "support/TemporaryDirectory.h"

namespace {

void writeArchive(const std::filesystem::path& path, const std::uint8_t* data, std::size_t size) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  if (!file.flush()) __builtin_trap();
}

std::vector<std::string> listedNames() {
  std::vector<std::string> names;
  visitMembers([&](const char* name) { names.emplace_back(name); });
  return names;
}

void readWhole(const std::string& name) {
  const std::vector<char> sentinel{'u', 'n', 't', 'o', 'u', 'c', 'h', 'e', 'd'};
  std::vector<char> bytes = sentinel;
  bool read = readMember(name.c_str(), bytes);
  if (read && bytes.size() > kMaxMemberSize) __builtin_trap();
  if (!read && bytes != sentinel) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static TemporaryDirectory directory;
  setModuleDirectory(directory.path().string() +
                     static_cast<char>(std::filesystem::path::preferred_separator));
  writeArchive(directory / "a.zip", data, size);
  ArchiveSession session;
  if (!session.isOpen()) return 0;
  for (const std::string& name : listedNames()) {
    if (name.size() >= kListedNameCapacity) __builtin_trap();
    readWhole(name);
  }
  // Reading without locating first reads whatever member is current.
  std::vector<char> bytes;
  readCurrentMember(bytes);
  return 0;
}
