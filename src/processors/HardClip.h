// Hard clipping as the clipper does it without an averaging window: pre-gain, the limits,
// post-gain. One kernel serves the clipper's own loop and the clipping lanes of an
// equaliser wavefront, so both give the same bits.
#pragma once

#include <limits>

#include "processors/Float4.h"

// Samples is float, or Float4 with the same or different settings in each lane.
// x below lower gives lower, else x above upper gives upper, else x: a NaN stays NaN, and
// with lower above upper a sample below both gives lower. greaterOf(lower, x) is the inner
// choice exactly, zeros' signs included (it gives x unless lower > x).
template <typename Samples>
inline Samples clipHard(Samples in, Samples inputGain, Samples upper, Samples lower, Samples outputGain) {
  const Samples x = in * inputGain;
  return outputGain * select(x > upper, upper, greaterOf(lower, x));
}

struct HardClip {
  float inputGain;
  float upper;
  float lower;
  float outputGain;

  // Changes no value: gains of one, limits at the infinities (a NaN stays NaN).
  static constexpr HardClip identity() {
    return {1.0f, std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity(), 1.0f};
  }

  template <typename Samples>
  Samples apply(Samples in) const {
    return clipHard(in, splat<Samples>(inputGain), splat<Samples>(upper), splat<Samples>(lower),
                    splat<Samples>(outputGain));
  }
};
