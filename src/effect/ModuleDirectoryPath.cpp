#include "effect/ModuleDirectoryPath.h"

std::string moduleDirectoryFromPath(const std::string& path, char separator, const char* moduleExtension) {
  const std::size_t extension = path.find(moduleExtension);
  if (extension != std::string::npos && extension > 0) {
    const std::size_t lastSeparator = path.rfind(separator);
    return lastSeparator == std::string::npos ? std::string() : path.substr(0, lastSeparator + 1);
  }
  if (!path.empty() && path.back() == separator) return path;
  return path + separator;
}
