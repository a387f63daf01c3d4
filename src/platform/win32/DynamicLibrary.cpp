#include "platform/DynamicLibrary.h"

#include <windows.h>

namespace platform {

DynamicLibrary::DynamicLibrary(const std::string& path) {
  handle = reinterpret_cast<void*>(LoadLibraryA(path.c_str()));
  if (!handle) lastError = "cannot load " + path + " (error " + std::to_string(GetLastError()) + ")";
}

DynamicLibrary::~DynamicLibrary() {
  if (handle) FreeLibrary(static_cast<HMODULE>(handle));
}

void* DynamicLibrary::symbol(const char* name) const {
  return handle ? reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), name)) : nullptr;
}

}  // namespace platform
