// The module's exported entry point. Modules also export it under the name
// "main" for older hosts, and nothing else (torvix_add_module).
#include "frame/AudioEffect.h"
#include "frame/EffectFactory.h"

#if defined(_WIN32)
#define TORVIX_EXPORT
#else
#define TORVIX_EXPORT __attribute__((visibility("default")))
#endif

extern "C" TORVIX_EXPORT AEffect* VSTCALLBACK VSTPluginMain(audioMasterCallback audioMaster) {
  if (!audioMaster || audioMaster(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) return nullptr;
  try {
    AudioEffect* effect = createEffectInstance(audioMaster);
    return effect ? effect->getAeffect() : nullptr;
  } catch (...) {
    // The host is C: an effect that cannot be made is no effect.
    return nullptr;
  }
}
