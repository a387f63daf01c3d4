#include "platform/DynamicLibrary.h"

#include <dlfcn.h>

namespace platform {

DynamicLibrary::DynamicLibrary(const std::string& path) {
  handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* message = dlerror();
    lastError = message ? message : "cannot open " + path;
  }
}

DynamicLibrary::~DynamicLibrary() {
  if (handle) dlclose(handle);
}

void* DynamicLibrary::symbol(const char* name) const { return handle ? dlsym(handle, name) : nullptr; }

}  // namespace platform
