#include "render/PresetCatalogue.h"

#include "render/NumberText.h"
#include "render/ParameterLookup.h"
#include "render/ParameterName.h"
#include "render/RenderError.h"

namespace {

bool takesIndex(HostedEffect& effect, VstInt32 parameter, int index) {
  effect.setParameter(parameter, static_cast<float>(index));
  return effect.getParameter(parameter) == static_cast<float>(index) &&
         !effect.parameterDisplay(parameter).empty();
}

}  // namespace

PresetCatalogue PresetCatalogue::probe(HostedEffect& effect, const std::string& archiveDirectory) {
  PresetCatalogue catalogue;
  catalogue.parameter = findParameter(effect, "Preset");
  if (!catalogue.parameter) return catalogue;
  if (std::optional<std::vector<ModuleDescription>> archived = readModuleDescriptions(archiveDirectory)) {
    catalogue.listed = std::move(*archived);
  } else {
    catalogue.probeIndices(effect);
  }
  return catalogue;
}

void PresetCatalogue::probeIndices(HostedEffect& effect) {
  const float original = effect.getParameter(*parameter);
  for (int index = 0; index < kMostDescriptions && takesIndex(effect, *parameter, index); ++index) {
    listed.push_back({effect.parameterDisplay(*parameter), ""});
  }
  effect.setParameter(*parameter, original);
}

std::optional<int> PresetCatalogue::find(const std::string& request) const {
  if (const std::optional<int> index = indexFromText(request)) {
    if (*index < static_cast<int>(listed.size())) return *index;
    return std::nullopt;
  }
  const std::string folded = foldedParameterName(request);
  for (std::size_t index = 0; index < listed.size(); ++index) {
    const std::string name = foldedParameterName(listed[index].name);
    if (name == folded || name == folded + ".xml") return static_cast<int>(index);
  }
  return std::nullopt;
}

int PresetCatalogue::select(const std::string& request) const {
  if (!parameter) throw RenderError("the module's effect has no Preset parameter");
  const std::optional<int> index = find(request);
  if (!index) {
    throw RenderError("unknown preset \"" + request + "\" (the module lists " +
                      std::to_string(listed.size()) + " descriptions; see --list)");
  }
  const ModuleDescription& chosen = listed[static_cast<std::size_t>(*index)];
  if (!chosen.refusal.empty()) {
    throw RenderError("the plug-in refuses the description " + chosen.name + ": " + chosen.refusal);
  }
  return *index;
}
