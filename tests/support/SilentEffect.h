// A minimal concrete effect for exercising the effect base's defaults.
#pragma once

#include "frame/AudioEffectX.h"

// Keeps every base behaviour; processing leaves the buffers alone. Counts
// its live instances so tests can see a deletion.
class SilentEffect : public AudioEffectX {
 public:
  explicit SilentEffect(audioMasterCallback audioMaster, VstInt32 programs = 1, VstInt32 params = 1)
      : AudioEffectX(audioMaster, programs, params) {
    ++liveInstances;
  }
  ~SilentEffect() override { --liveInstances; }

  void processReplacing(float**, float**, VstInt32) override {}
  void close() override { ++closeCalls; }

  // Exposes protected members the tests inspect.
  using AudioEffect::callHost;
  using AudioEffect::hasFlag;

  static inline int liveInstances = 0;
  int closeCalls = 0;
};
