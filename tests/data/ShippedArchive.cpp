#include "ShippedArchive.h"

#include <tinyxml.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "effect/ArchivePresetLoader.h"
#include "effect/ArchiveSession.h"
#include "effect/InternalHost.h"
#include "effect/ModuleDirectory.h"
#include "effect/ResourceArchive.h"
#include "graph/AveragerAN.h"
#include "graph/GraphBuilder.h"

namespace {

// Loads presets from the archive and remembers what was asked for.
class RecordingPresetLoader : public PresetLoader {
 public:
  explicit RecordingPresetLoader(BuiltDescription& built) : built(built) {}

  bool loadPreset(AudioEffect& processor, const std::string& memberName) override {
    built.presetsRequested.push_back(memberName);
    const bool loaded = archivePresets.loadPreset(processor, memberName);
    if (!loaded) built.presetsMissing.push_back(memberName);
    return loaded;
  }

 private:
  BuiltDescription& built;
  ArchivePresetLoader archivePresets;
};

// The nodes a sound was given when it was oversampled.
constexpr const char* kLaterNodes[] = {"lead_smooth"};

bool addedLater(const TiXmlElement& node) {
  const char* id = node.Attribute("id");
  return id && std::any_of(std::begin(kLaterNodes), std::end(kLaterNodes),
                           [&](const char* later) { return std::string(id) == later; });
}

void removeShape(TiXmlElement& averager) {
  for (TiXmlElement* param = averager.FirstChildElement("param"); param;) {
    TiXmlElement* next = param->NextSiblingElement("param");
    const char* set = param->Attribute("set");
    if (set && std::atoi(set) == AveragerAN::kShapeParameter) averager.RemoveChild(param);
    param = next;
  }
}

// Removes the root's timing, the nodes added later and every averager's shape parameter.
void asFirstWritten(TiXmlElement& root) {
  root.RemoveAttribute("oversampling");
  root.RemoveAttribute("rate");
  for (TiXmlElement* node = root.FirstChildElement(); node;) {
    TiXmlElement* next = node->NextSiblingElement();
    const char* type = node->Attribute("type");
    if (addedLater(*node)) {
      root.RemoveChild(node);
    } else if (type && std::string(type) == "averager") {
      removeShape(*node);
    }
    node = next;
  }
}

}  // namespace

ShippedArchive::ShippedArchive() { setModuleDirectory(directory()); }

ShippedArchive::~ShippedArchive() { setModuleDirectory(""); }

std::string ShippedArchive::directory() {
  const std::filesystem::path parent = std::filesystem::path(SHIPPED_ARCHIVE_PATH).parent_path();
  if (parent.empty()) return "";
  return parent.string() + static_cast<char>(std::filesystem::path::preferred_separator);
}

std::vector<std::string> ShippedArchive::memberNames() const {
  std::vector<std::string> names;
  ArchiveSession session;
  if (session.isOpen()) visitMembers([&names](const char* name) { names.emplace_back(name); });
  return names;
}

std::vector<std::string> ShippedArchive::descriptionNames() const {
  std::vector<std::string> names = memberNames();
  std::erase_if(names, [](const std::string& name) { return name.find(".xml") == std::string::npos; });
  std::sort(names.begin(), names.end());
  return names;
}

BuiltDescription ShippedArchive::build(const std::string& name, RootAttributes attributes) const {
  BuiltDescription built;
  built.name = name;
  ArchiveSession session;
  std::vector<char> bytes;
  if (!session.isOpen() || !readMember(name.c_str(), bytes)) {
    built.readError = "cannot be read from the archive";
    return built;
  }
  TiXmlDocument document;
  document.Parse(std::string(bytes.begin(), bytes.end()).c_str());
  if (document.Error()) {
    built.readError = std::string("is not well-formed: ") + document.ErrorDesc() + " at line " +
                      std::to_string(document.ErrorRow());
    return built;
  }
  TiXmlElement* root = document.FirstChildElement("torvix");
  if (!root) {
    built.readError = "has no <torvix> root";
    return built;
  }
  if (attributes == RootAttributes::kAsFirstWritten) asFirstWritten(*root);
  RecordingPresetLoader presets(built);
  built.head = buildGraph(*root, internalHostCallback, presets, built.report);
  return built;
}
