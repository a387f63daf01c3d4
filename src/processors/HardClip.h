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

// First-order antiderivative anti-aliasing of the clipping of x (pre-gained) after previous:
// the mean of clip(t) over t from previous to x, (F(x) - F(previous)) / (x - previous) with
// F the antiderivative of clip, which band-limits what the corners of clipping add. With
// a = clip(previous), b = clip(x) and e the parts beyond the limits (x - b, previous - a),
// F(x) - F(previous) = (b - a)((b + a) / 2 + e_previous) + b (e_x - e_previous) and
// x - previous = (b - a) + (e_x - e_previous), so both sides of a limit give the limit to
// the rounding of one product and a quotient, and neither side cancels large squares.
// Nearly equal samples, whose quotient would be rounding over rounding (or 0 / 0), take the
// clipping of their mean, the same mean to within the square of their distance. Needs
// lower <= upper (a step, with lower above upper, has no continuous antiderivative).
template <typename Samples>
inline Samples clipAntiderivative(Samples previous, Samples x, Samples upper, Samples lower) {
  constexpr float kNearlyEqual = 1.0e-5f;
  const Samples a = select(previous > upper, upper, greaterOf(lower, previous));
  const Samples b = select(x > upper, upper, greaterOf(lower, x));
  const Samples beyondPrevious = previous - a;
  const Samples beyondChange = (x - b) - beyondPrevious;
  const Samples clippedChange = b - a;
  const Samples rise = clippedChange * ((b + a) * splat<Samples>(0.5f) + beyondPrevious) + b * beyondChange;
  const Samples run = clippedChange + beyondChange;
  const Samples mean = splat<Samples>(0.5f) * (x + previous);
  const Samples nearly = select(mean > upper, upper, greaterOf(lower, mean));
  return select(greaterOf(run, -run) < splat<Samples>(kNearlyEqual), nearly, rise / run);
}
