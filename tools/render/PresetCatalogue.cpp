#include "render/PresetCatalogue.h"

#include "render/NumberText.h"
#include "render/ParameterLookup.h"
#include "render/ParameterName.h"

namespace {

bool takesIndex(HostedEffect& effect, VstInt32 parameter, int index) {
  effect.setParameter(parameter, static_cast<float>(index));
  return effect.getParameter(parameter) == static_cast<float>(index) &&
         !effect.parameterDisplay(parameter).empty();
}

}  // namespace

PresetCatalogue PresetCatalogue::probe(HostedEffect& effect) {
  PresetCatalogue catalogue;
  catalogue.parameter = findParameter(effect, "Preset");
  if (!catalogue.parameter) return catalogue;
  const VstInt32 parameter = *catalogue.parameter;
  const float original = effect.getParameter(parameter);
  for (int index = 0; index < kMostDescriptions && takesIndex(effect, parameter, index); ++index) {
    catalogue.descriptionNames.push_back(effect.parameterDisplay(parameter));
  }
  effect.setParameter(parameter, original);
  return catalogue;
}

std::optional<int> PresetCatalogue::find(const std::string& request) const {
  if (const std::optional<int> index = indexFromText(request)) {
    if (*index < static_cast<int>(descriptionNames.size())) return *index;
    return std::nullopt;
  }
  for (std::size_t index = 0; index < descriptionNames.size(); ++index) {
    const std::string name = foldedParameterName(descriptionNames[index]);
    const std::string folded = foldedParameterName(request);
    if (name == folded || name == folded + ".xml") return static_cast<int>(index);
  }
  return std::nullopt;
}
