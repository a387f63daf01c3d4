#include "platform/ExecutablePath.h"

#include <windows.h>

namespace platform {

std::string executableFileName() {
  char name[MAX_PATH + 1] = {};
  const DWORD length = GetModuleFileNameA(nullptr, name, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  return std::string(name, length);
}

}  // namespace platform
