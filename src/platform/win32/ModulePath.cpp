#include "platform/ModulePath.h"

#include <windows.h>

namespace platform {

std::string moduleFileName() {
  HMODULE module = GetModuleHandleA("torvix distortion");
  if (!module) module = GetModuleHandleA("zrvelkoran_d");
  char name[501] = {};
  const DWORD length = GetModuleFileNameA(module, name, 500);
  return std::string(name, length);
}

char pathSeparator() { return '\\'; }

const char* moduleExtension() { return ".dll"; }

}  // namespace platform
