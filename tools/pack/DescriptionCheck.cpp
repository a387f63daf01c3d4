#include "pack/DescriptionCheck.h"

#include <tinyxml.h>

#include "effect/InternalHost.h"
#include "graph/GraphBuilder.h"
#include "pack/EntryPresetLoader.h"
#include "pack/PackError.h"

BuiltDescription buildDescription(const std::string& text, const std::string& source, PresetLoader& presets) {
  TiXmlDocument document;
  document.Parse(text.c_str());
  if (document.Error())
    throw packError(source, document.ErrorRow(), std::string("XML error: ") + document.ErrorDesc());
  const TiXmlElement* root = document.FirstChildElement("torvix");
  if (!root) throw packError(source, 0, "no root element <torvix>");
  BuiltDescription built;
  built.head = buildGraph(*root, internalHostCallback, presets, built.report);
  if (!built.head) {
    const GraphBuildReport& report = built.report;
    throw packError(source, report.refusalLine,
                    "the graph builder refuses <" + report.refusalElement + ">: " + report.refusal);
  }
  return built;
}

void checkDescriptions(const std::vector<ArchiveEntry>& entries) {
  EntryPresetLoader presets(entries);
  for (const ArchiveEntry& entry : entries) {
    if (entry.name.ends_with(".xml"))
      buildDescription(std::string(entry.bytes.begin(), entry.bytes.end()), entry.source, presets);
  }
}
