// The parameter settings a run applies to every effect instance.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "host/HostedEffect.h"
#include "render/RenderOptions.h"

// Settings resolved to parameter indices, so that every instance gets the
// same values without looking names up again.
struct EffectSettings {
  struct Value {
    VstInt32 index;
    float value;
  };

  // The "Preset" parameter and the description index to give it.
  std::optional<Value> preset;
  std::vector<Value> parameters;
};

// Resolves the requested preset and parameters against the effect, created
// from the archive in archiveDirectory. Throws RenderError for a parameter the
// effect does not have, a value outside 0..1, or a preset that is not in its
// list or that the plug-in refuses.
EffectSettings resolveSettings(HostedEffect& effect, const std::string& archiveDirectory,
                               const std::optional<std::string>& preset,
                               const std::vector<ParameterRequest>& parameters);

// The preset first (it rebuilds the effect's processing), then the values.
void applySettings(HostedEffect& effect, const EffectSettings& settings);
