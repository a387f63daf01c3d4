#include "platform/ExecutablePath.h"

#include <limits.h>
#include <unistd.h>

namespace platform {

std::string executableFileName() {
  char name[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", name, sizeof name);
  if (length <= 0 || static_cast<std::size_t>(length) >= sizeof name) return {};
  return std::string(name, static_cast<std::size_t>(length));
}

}  // namespace platform
