#include "render/EffectSettings.h"

#include <cstdio>

#include "render/ParameterLookup.h"
#include "render/ParameterName.h"
#include "render/PresetCatalogue.h"
#include "render/RenderError.h"

namespace {

std::string valueText(float value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
  return text;
}

EffectSettings::Value resolvePreset(HostedEffect& effect, const std::string& archiveDirectory,
                                    const std::string& request) {
  const PresetCatalogue catalogue = PresetCatalogue::probe(effect, archiveDirectory);
  const int index = catalogue.select(request);
  return {*catalogue.parameterIndex(), static_cast<float>(index)};
}

VstInt32 findRequested(HostedEffect& effect, const ParameterRequest& request) {
  const std::optional<VstInt32> index = findParameter(effect, request.name);
  if (!index) throw RenderError("unknown parameter \"" + request.name + "\" (see --list)");
  return *index;
}

EffectSettings::Value checkedValue(HostedEffect& effect, VstInt32 index, float value) {
  if (value < 0.0f || value > 1.0f) {
    throw RenderError("parameter " + effect.parameterName(index) + " takes 0 to 1, got " + valueText(value));
  }
  return {index, value};
}

}  // namespace

EffectSettings resolveSettings(HostedEffect& effect, const std::string& archiveDirectory,
                               const std::optional<std::string>& preset,
                               const std::vector<ParameterRequest>& parameters) {
  EffectSettings settings;
  if (preset) settings.preset = resolvePreset(effect, archiveDirectory, *preset);
  for (const ParameterRequest& request : parameters) {
    const VstInt32 index = findRequested(effect, request);
    // "Preset" named by its index takes a description's index, as --preset.
    if (parameterNameMatches(effect.parameterName(index), "Preset")) {
      settings.preset = resolvePreset(effect, archiveDirectory, valueText(request.value));
    } else {
      settings.parameters.push_back(checkedValue(effect, index, request.value));
    }
  }
  return settings;
}

void applySettings(HostedEffect& effect, const EffectSettings& settings) {
  if (settings.preset) effect.setParameter(settings.preset->index, settings.preset->value);
  for (const EffectSettings::Value& setting : settings.parameters) {
    effect.setParameter(setting.index, setting.value);
  }
}
