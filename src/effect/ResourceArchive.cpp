#include "effect/ResourceArchive.h"

#include <unzip.h>

#include <cstring>
#include <string>

#include "effect/ArchiveLock.h"
#include "effect/ModuleDirectory.h"
#include "effect/ZipMemberReading.h"
#include "frame/TraceLog.h"

namespace {

unzFile archiveHandle = nullptr;

// Case-insensitive for A to Z on every platform.
constexpr int kIgnoreCase = 2;

unzFile openZip(const char* fileName) {
  std::string path = moduleDirectory() + fileName;
  unzFile handle = unzOpen(path.c_str());
  if (handle) traceLog("Opened %s;", path.c_str());
  return handle;
}

// Length of the current member's name as stored in the archive.
bool currentNameLength(uLong& length) {
  unz_file_info info;
  if (unzGetCurrentFileInfo(archiveHandle, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) return false;
  length = info.size_filename;
  return true;
}

}  // namespace

bool openArchive() {
  ArchiveLockGuard guard;
  if (archiveHandle) return true;
  archiveHandle = openZip("a.zip");
  if (archiveHandle) return true;
  traceLog("can't open a.zip");
  archiveHandle = openZip("torvix.data");
  if (archiveHandle) return true;
  traceLog("can't open torvix.data");
  return false;
}

void closeArchive() {
  ArchiveLockGuard guard;
  if (!archiveHandle) return;
  unzCloseCurrentFile(archiveHandle);
  unzClose(archiveHandle);
  archiveHandle = nullptr;
}

bool isArchiveOpen() {
  ArchiveLockGuard guard;
  return archiveHandle != nullptr;
}

bool locateMember(const char* name) {
  ArchiveLockGuard guard;
  if (!archiveHandle || !name) return false;
  std::size_t length = std::strlen(name);
  if (length >= kLocatableNameCapacity) return false;
  if (unzLocateFile(archiveHandle, name, kIgnoreCase) != UNZ_OK) return false;
  // The comparison sees at most 256 characters of a stored name; a longer
  // member must not be taken for a shorter request.
  uLong storedLength = 0;
  return currentNameLength(storedLength) && storedLength == length;
}

bool visitMembers(const std::function<void(const char* name)>& visitor) {
  ArchiveLockGuard guard;
  if (!archiveHandle) return false;
  for (int status = unzGoToFirstFile(archiveHandle); status == UNZ_OK;
       status = unzGoToNextFile(archiveHandle)) {
    char name[kListedNameCapacity] = {};
    unz_file_info info;
    if (unzGetCurrentFileInfo(archiveHandle, &info, name, sizeof name, nullptr, 0, nullptr, 0) != UNZ_OK)
      break;
    if (info.size_filename >= sizeof name || std::strlen(name) != info.size_filename) continue;
    visitor(name);
  }
  return true;
}

bool readCurrentMember(std::vector<char>& bytes) {
  ArchiveLockGuard guard;
  return readCurrentZipMember(archiveHandle, bytes);
}

bool readMember(const char* name, std::vector<char>& bytes) {
  ArchiveLockGuard guard;
  return locateMember(name) && readCurrentMember(bytes);
}
