#include "render/DemoFileName.h"

#include <cstdio>

namespace {

bool keepsInFileName(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '-' ||
         c == '_';
}

}  // namespace

std::string demoFileStem(int index, const std::string& description) {
  std::string name = description;
  const std::string extension = ".xml";
  if (name.size() > extension.size() && name.ends_with(extension))
    name.resize(name.size() - extension.size());
  for (char& c : name) {
    if (!keepsInFileName(c)) c = '_';
  }
  char prefix[16];
  std::snprintf(prefix, sizeof prefix, "%02d-", index);
  return prefix + name;
}
