#include "platform/ModulePath.h"

#include <dlfcn.h>

namespace platform {

std::string moduleFileName() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&moduleFileName), &info) == 0 || !info.dli_fname) return {};
  return info.dli_fname;
}

char pathSeparator() { return '/'; }

const char* moduleExtension() { return ".so"; }

}  // namespace platform
