// An effect that records the parameter changes it receives, for tests of
// code that configures a processor through setParameter.
#pragma once

#include <utility>
#include <vector>

#include "frame/AudioEffectX.h"

class RecordingEffect : public AudioEffectX {
 public:
  explicit RecordingEffect(VstInt32 params = 8) : AudioEffectX(nullptr, 1, params) {}

  void processReplacing(float**, float**, VstInt32) override {}
  void setParameter(VstInt32 index, float value) override { changes.emplace_back(index, value); }

  // (index, value) in the order received.
  std::vector<std::pair<VstInt32, float>> changes;
};
