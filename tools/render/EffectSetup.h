// Bringing effect instances up as a host does.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "render/ChannelEffects.h"
#include "render/EffectModule.h"
#include "render/EffectSettings.h"
#include "render/PresetCatalogue.h"

// Resolves the user's preset and parameters on a scratch instance of the
// module's effect, which is closed again. Throws RenderError as
// resolveSettings does.
EffectSettings resolveModuleSettings(EffectModule& module, const std::optional<std::string>& preset,
                                     const std::vector<ParameterRequest>& parameters);

// The descriptions the module's effect offers, probed on a scratch instance.
PresetCatalogue probeModuleCatalogue(EffectModule& module);

// The indices of the catalogue's descriptions that the plug-in builds; each
// one it refuses gets a line on err saying why it is not rendered.
std::vector<int> renderableDescriptions(const PresetCatalogue& catalogue, std::ostream& err);

// One instance per channel, each opened, given the settings, configured for
// the rate and block size and switched on. The settings come before the
// configuration so that the processing a preset builds gets the rate, the
// block size and the switch-on like the rest.
ChannelEffects startChannelEffects(EffectModule& module, int channels, float sampleRate, int blockSize,
                                   const EffectSettings& settings);
