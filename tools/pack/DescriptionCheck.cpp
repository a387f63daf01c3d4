#include "pack/DescriptionCheck.h"

#include <tinyxml.h>

#include <algorithm>
#include <set>

#include "effect/InternalHost.h"
#include "graph/GraphBuilder.h"
#include "graph/InputAudioNode.h"
#include "graph/ProcessorFactory.h"
#include "pack/AsciiCase.h"
#include "pack/DescriptionLint.h"
#include "pack/EntryPresetLoader.h"
#include "pack/FollowedWindowCheck.h"
#include "pack/NearestName.h"
#include "pack/PackError.h"
#include "pack/PresetValueCheck.h"
#include "pack/SampleCountCheck.h"
#include "pack/XmlErrorPlace.h"

namespace {

// The engine reads these presets for its input filters, outside any graph.
const std::set<std::string> kEnginePresets{"bass.fxp", "lo_mid.fxp"};

BuiltDescription buildRoot(const TiXmlElement& root, const std::string& source, PresetLoader& presets) {
  BuiltDescription built;
  built.head = buildGraph(root, internalHostCallback, presets, built.report);
  if (!built.head) {
    const GraphBuildReport& report = built.report;
    throw packError(source, report.refusalLine,
                    "the graph builder refuses <" + report.refusalElement + ">: " + report.refusal);
  }
  return built;
}

const ArchiveEntry* findMember(const std::vector<ArchiveEntry>& entries, const std::string& name) {
  for (const ArchiveEntry& entry : entries)
    if (equalIgnoringCase(entry.name, name)) return &entry;
  return nullptr;
}

// Follows what the descriptions' fx nodes make of the archive's presets.
class PresetUsage {
 public:
  PresetUsage(const std::vector<ArchiveEntry>& entries, PackWarnings& warnings)
      : entries(entries), warnings(warnings) {
    for (const std::string& name : kEnginePresets) used.insert(name);
  }

  // Notes the fx nodes of a built description, in line order.
  void addDescription(const BuiltDescription& built, const std::string& source) {
    std::vector<std::pair<const AudioNode*, NodeOrigin>> nodes(built.report.origins.begin(),
                                                               built.report.origins.end());
    std::sort(nodes.begin(), nodes.end(),
              [](const auto& a, const auto& b) { return a.second.line < b.second.line; });
    std::set<const AudioNode*> unplaced;
    for (const auto& node : static_cast<const InputAudioNode&>(*built.head).unplacedNodes())
      unplaced.insert(node.get());
    for (const auto& [node, origin] : nodes) {
      if (unplaced.contains(node))
        warnings.add(source, origin.line,
                     "<" + origin.element + "> never runs: the output does not reach it");
      if (node->effect) addFx(*node, origin, source);
    }
  }

  void warnUnused() {
    for (const ArchiveEntry& entry : entries) {
      if (!entry.preset || used.contains(asciiLowerCase(entry.name))) continue;
      const std::string id = entry.name.substr(0, entry.name.size() - 4);
      std::string message =
          "no fx node of any description has the id \"" + id + "\": this preset is never used";
      if (const std::optional<std::string> near = nearestName(id, fxIds))
        message += " (did you mean " + *near + "?)";
      warnings.add(entry.source, entry.preset->processorLine, message);
    }
  }

 private:
  void addFx(const AudioNode& node, const NodeOrigin& origin, const std::string& source) {
    fxIds.push_back(origin.id);
    const std::string member = origin.id + ".fxp";
    const ArchiveEntry* preset = findMember(entries, member);
    if (!preset) {
      warnings.add(source, origin.line,
                   "fx \"" + origin.id + "\" has no preset " + origin.id +
                       ".preset: its effect runs on its built-in settings");
      return;
    }
    used.insert(asciiLowerCase(preset->name));
    const char* type = processorTypeName(static_cast<ProcessorType>(node.fxType));
    if (preset->preset && preset->preset->processor->typeName != type) {
      warnings.add(source, origin.line,
                   "fx \"" + origin.id + "\" is " + type + ", but " + preset->source + " is written for " +
                       preset->preset->processor->typeName);
    }
  }

  const std::vector<ArchiveEntry>& entries;
  PackWarnings& warnings;
  std::set<std::string> used;
  std::vector<std::string> fxIds;
};

}  // namespace

const TiXmlElement& parseDescription(TiXmlDocument& document, const std::string& text,
                                     const std::string& source) {
  // Columns then count characters, as the error placement does.
  document.SetTabSize(1);
  document.Parse(text.c_str());
  if (document.Error()) {
    const XmlErrorPlace place = placeXmlError(text, document);
    throw PackError(sourcePlace(source, place.line, place.column) + ": XML error: " + place.message);
  }
  const TiXmlElement* root = document.FirstChildElement("torvix");
  if (!root) throw packError(source, 0, "no root element <torvix>");
  return *root;
}

BuiltDescription buildDescription(const std::string& text, const std::string& source, PresetLoader& presets) {
  TiXmlDocument document;
  return buildRoot(parseDescription(document, text, source), source, presets);
}

PackWarnings checkDescriptions(const std::vector<ArchiveEntry>& entries) {
  PackWarnings warnings;
  EntryPresetLoader presets(entries);
  PresetUsage usage(entries, warnings);
  for (const ArchiveEntry& entry : entries) {
    if (entry.preset) checkPresetValues(*entry.preset, entry.source, warnings);
    if (!entry.name.ends_with(".xml")) continue;
    TiXmlDocument document;
    const TiXmlElement& root =
        parseDescription(document, std::string(entry.bytes.begin(), entry.bytes.end()), entry.source);
    lintDescription(root, entry.source, warnings);
    const BuiltDescription built = buildRoot(root, entry.source, presets);
    usage.addDescription(built, entry.source);
    checkFollowedWindows(built, entry.source, warnings);
    checkSampleCounts(built, entry.source, warnings);
  }
  usage.warnUnused();
  warnings.sortByPlace();
  return warnings;
}
