// The divider: a bounded ratio of two parameters.
#pragma once

#include "graph/AudioNodeProcessor.h"

// Value 2 is parameter 0 over parameter 1, at most maxRatio (also for a zero denominator
// and for a ratio that is not a number); there is no lower bound. Any other value k is the
// divider's own parameter k. Stateless: every read computes anew from the sources.
class DividerAN final : public AudioNodeProcessor {
 public:
  static constexpr VstInt32 kRatio = 2;

  // audio: the ratio for which 2, else parameter which (default 1).
  float getValue(VstInt32 which) override;

  const float maxRatio = 100.0f;
};
