#include "Lv2Renders.h"

#include <algorithm>

std::vector<std::string> descriptionsOf(const std::vector<ZipFixtureMember>& members) {
  std::vector<std::string> names;
  for (const ZipFixtureMember& member : members) {
    if (member.name.find(".xml") != std::string::npos) names.push_back(member.name);
  }
  std::sort(names.begin(), names.end());
  return names;
}
