#include "render/EffectSettings.h"

#include <cstdio>

#include "render/ParameterLookup.h"
#include "render/PresetCatalogue.h"
#include "render/RenderError.h"

namespace {

std::string valueText(float value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
  return text;
}

EffectSettings::Value resolvePreset(HostedEffect& effect, const std::string& request) {
  const PresetCatalogue catalogue = PresetCatalogue::probe(effect);
  if (!catalogue.parameterIndex()) throw RenderError("the module's effect has no Preset parameter");
  const std::optional<int> index = catalogue.find(request);
  if (!index) {
    throw RenderError("unknown preset \"" + request + "\" (the module lists " +
                      std::to_string(catalogue.names().size()) + " descriptions; see --list)");
  }
  return {*catalogue.parameterIndex(), static_cast<float>(*index)};
}

EffectSettings::Value resolveParameter(HostedEffect& effect, const ParameterRequest& request) {
  const std::optional<VstInt32> index = findParameter(effect, request.name);
  if (!index) throw RenderError("unknown parameter \"" + request.name + "\" (see --list)");
  if (request.value < 0.0f || request.value > 1.0f) {
    throw RenderError("parameter " + effect.parameterName(*index) + " takes 0 to 1, got " +
                      valueText(request.value));
  }
  return {*index, request.value};
}

}  // namespace

EffectSettings resolveSettings(HostedEffect& effect, const std::optional<std::string>& preset,
                               const std::vector<ParameterRequest>& parameters) {
  EffectSettings settings;
  if (preset) settings.preset = resolvePreset(effect, *preset);
  for (const ParameterRequest& request : parameters) {
    settings.parameters.push_back(resolveParameter(effect, request));
  }
  return settings;
}

void applySettings(HostedEffect& effect, const EffectSettings& settings) {
  if (settings.preset) effect.setParameter(settings.preset->index, settings.preset->value);
  for (const EffectSettings::Value& setting : settings.parameters) {
    effect.setParameter(setting.index, setting.value);
  }
}
