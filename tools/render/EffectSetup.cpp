#include "render/EffectSetup.h"

#include <memory>
#include <mutex>

EffectSettings resolveModuleSettings(EffectModule& module, const std::optional<std::string>& preset,
                                     const std::vector<ParameterRequest>& parameters) {
  std::unique_ptr<HostedEffect> scratch = module.createEffect();
  scratch->open();
  return resolveSettings(*scratch, module.archiveDirectory(), preset, parameters);
}

PresetCatalogue probeModuleCatalogue(EffectModule& module) {
  std::unique_ptr<HostedEffect> scratch = module.createEffect();
  scratch->open();
  return PresetCatalogue::probe(*scratch, module.archiveDirectory());
}

std::vector<int> renderableDescriptions(const PresetCatalogue& catalogue, std::ostream& err) {
  std::vector<int> usable;
  for (int index = 0; index < static_cast<int>(catalogue.descriptions().size()); ++index) {
    const ModuleDescription& description = catalogue.descriptions()[static_cast<std::size_t>(index)];
    if (description.refusal.empty()) {
      usable.push_back(index);
    } else {
      err << description.name << ": not rendered, the plug-in refuses it: " << description.refusal << "\n";
    }
  }
  return usable;
}

ChannelEffects startChannelEffects(EffectModule& module, int channels, float sampleRate, int blockSize,
                                   const EffectSettings& settings) {
  const std::lock_guard<std::mutex> lock(module.setupMutex());
  std::vector<std::unique_ptr<HostedEffect>> effects;
  for (int channel = 0; channel < channels; ++channel) {
    std::unique_ptr<HostedEffect> effect = module.createEffect();
    effect->open();
    applySettings(*effect, settings);
    effect->configure(sampleRate, blockSize);
    effect->setMains(true);
    effects.push_back(std::move(effect));
  }
  return ChannelEffects(std::move(effects), blockSize);
}
