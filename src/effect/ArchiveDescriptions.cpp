#include "effect/ArchiveDescriptions.h"

#include <tinyxml.h>

#include <algorithm>
#include <cstring>

#include "effect/ArchivePresetLoader.h"
#include "effect/ResourceArchive.h"
#include "graph/GraphBuilder.h"

namespace {

DescriptionBuild refused(std::string reason) { return {nullptr, GraphTiming{}, std::move(reason)}; }

}  // namespace

std::vector<std::string> listArchiveDescriptions() {
  std::vector<std::string> names;
  visitMembers([&names](const char* name) {
    if (std::strstr(name, ".xml")) names.emplace_back(name);
  });
  std::sort(names.begin(), names.end());
  return names;
}

DescriptionBuild buildArchiveDescription(const std::string& name, audioMasterCallback hostCallback) {
  std::vector<char> bytes;
  if (!readMember(name.c_str(), bytes)) return refused("the archive member cannot be read");
  bytes.push_back('\0');
  TiXmlDocument document;
  document.Parse(bytes.data());
  if (document.Error()) {
    return refused("XML error at line " + std::to_string(document.ErrorRow()) + ", column " +
                   std::to_string(document.ErrorCol()) + ": " + document.ErrorDesc());
  }
  const TiXmlElement* root = document.FirstChildElement("torvix");
  if (!root) return refused("no root element <torvix>");
  ArchivePresetLoader presets;
  GraphBuildReport report;
  DescriptionBuild built{buildGraph(*root, hostCallback, presets, report), report.timing, ""};
  if (!built.head) {
    built.refusal = "<" + report.refusalElement + "> at line " + std::to_string(report.refusalLine) + ": " +
                    report.refusal;
  }
  return built;
}
