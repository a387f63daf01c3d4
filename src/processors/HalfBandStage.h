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

  // build: coefficients as designHalfBand gives them (at most kMaxSections), for blocks of
  // at most maxFrames samples at the lower rate. Allocates.
  HalfBandStage(const std::vector<double>& coefficients, VstInt32 maxFrames);

  // audio: frames samples of in become 2 * frames samples of out at twice the rate.
  void upsample(const float* in, float* out, VstInt32 frames);
  // audio: 2 * frames samples of in become frames samples of out at half the rate.
  void downsample(const float* in, float* out, VstInt32 frames);
  // Any thread with the engine lock: forgets the signal, as after construction.
  void clear();

 private:
  // A first-order allpass y[n] = a (x[n] - y[n-1]) + x[n-1], from one buffer into another.
  // Its recursion y[n] = -a y[n-1] + a x[n] + x[n-1], unrolled four steps, is
  // y[n] = a^4 y[n-4] + a x[n] + (1 - a^2) x[n-1] + (a^3 - a) x[n-2] + (a^2 - a^4) x[n-3]
  //        - a^3 x[n-4],
  // so four neighbouring samples are computed at once rather than each waiting for the one
  // before. Buffers hold kHistory samples before the block: the input's last ones of the
  // previous block, and room for the section's own.
  class Section {
   public:
    static constexpr VstInt32 kHistory = 4;

    explicit Section(float a);
    // in and out point at the first sample of the block, count of them; in[-4..-1] holds the
    // inputs before it. Writes out[-4..count-1].
    void run(const float* in, float* out, VstInt32 count);
    void clear() { lastOutputs.fill(0.0f); }

   private:
    std::array<float, 5> taps;
    float feedback;
    std::array<float, kHistory> lastOutputs{};
  };

  // The chain over its lane (the block from kHistory on), leaving the result there, with
  // the chain's input history before it.
  void runChain(int chain, VstInt32 count);

  // chains[0] is A0, chains[1] A1.
  std::array<std::vector<Section>, 2> chains;
  // Each chain's input history, and its samples at the lower rate with room for history
  // before them; spare is the other buffer the sections alternate with.
  std::array<std::array<float, Section::kHistory>, 2> inputHistory{};
  std::array<std::vector<float>, 2> lanes;
  std::vector<float> spare;
};
