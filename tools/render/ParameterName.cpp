#include "render/ParameterName.h"

std::string foldedParameterName(const std::string& name) {
  std::string folded;
  folded.reserve(name.size());
  for (const char c : name) {
    if (c == ' ' || c == '_') {
      folded += '-';
    } else if (c >= 'A' && c <= 'Z') {
      folded += static_cast<char>(c - 'A' + 'a');
    } else {
      folded += c;
    }
  }
  return folded;
}

bool parameterNameMatches(const std::string& moduleName, const std::string& requested) {
  return !requested.empty() && foldedParameterName(moduleName) == foldedParameterName(requested);
}
