// One octave of up- or down-sampling through a half-band low-pass of two allpass chains
// (HalfBandDesign), run in polyphase form at the lower rate: each chain works on every
// other sample, so no multiplication is spent on the zeros of upsampling or on the
// samples that decimation drops. Minimum phase: no latency beyond the filter's own
// group delay.
#pragma once

#include <array>
#include <vector>

#include "frame/VstInterface.h"

class HalfBandStage {
 public:
  static constexpr int kMaxSections = 8;

  // build: coefficients as designHalfBand gives them (at most kMaxSections).
  explicit HalfBandStage(const std::vector<double>& coefficients);

  // audio: frames samples of in become 2 * frames samples of out at twice the rate.
  void upsample(const float* in, float* out, VstInt32 frames);
  // audio: 2 * frames samples of in become frames samples of out at half the rate.
  void downsample(const float* in, float* out, VstInt32 frames);
  // Any thread with the engine lock: forgets the signal, as after construction.
  void clear();

 private:
  // first-order allpass sections in series, each y[n] = a (x[n] - y[n-1]) + x[n-1]
  struct Chain {
    std::array<float, kMaxSections / 2> coefficients{};
    // state[k]: the previous input of section k; state[count]: the chain's previous output.
    std::array<float, kMaxSections / 2 + 1> state{};
    int count = 0;

    float process(float x);
  };

  // chains[0] is A0, chains[1] A1.
  std::array<Chain, 2> chains;
};
