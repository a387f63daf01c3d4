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

// The clipping of the straight line from previous (s = 0) to x (s = 1), integrated over the
// segment: its mean, which is first-order antiderivative anti-aliasing, and its mean weighted
// by s, which second-order anti-aliasing adds (ZrClipper::clipWithAntiderivative). The line is
// clipped where it crosses the limits, so it falls into at most three pieces: clip(previous)
// up to s = enter, the line itself up to s = leave, clip(x) after; each piece is integrated
// exactly. Every term is bounded by the limits and the samples, so nothing cancels large
// squares, and nearly equal samples need no case of their own: a tiny step (below kTiny, 0
// included) crosses the limits at s far outside [0, 1], so the line is either all inside or
// all beyond, as it is. Needs lower <= upper (a step, with lower above upper, has no
// continuous antiderivative).
template <typename Samples>
struct ClippedSegment {
  Samples mean;
  Samples lateMean;
};

template <typename Samples>
[[gnu::always_inline]] inline Samples clipToUnit(Samples s) {
  const Samples one = splat<Samples>(1.0f);
  return select(s > one, one, greaterOf(splat<Samples>(0.0f), s));
}

template <typename Samples>
[[gnu::always_inline]] inline ClippedSegment<Samples> clipSegment(Samples previous, Samples x, Samples upper, Samples lower) {
  constexpr float kTiny = 1.0e-30f;
  const Samples zero = splat<Samples>(0.0f);
  const Samples one = splat<Samples>(1.0f);
  const Samples half = splat<Samples>(0.5f);
  const Samples change = x - previous;
  const Samples tiny = select(change < zero, splat<Samples>(-kTiny), splat<Samples>(kTiny));
  const Samples step = select(greaterOf(change, -change) < splat<Samples>(kTiny), tiny, change);
  const Samples perUnit = one / step;
  const Samples entering = select(step < zero, upper, lower);
  const Samples leaving = select(step < zero, lower, upper);
  const Samples enter = clipToUnit((entering - previous) * perUnit);
  const Samples leave = clipToUnit((leaving - previous) * perUnit);
  const Samples before = select(previous > upper, upper, greaterOf(lower, previous));
  const Samples after = select(x > upper, upper, greaterOf(lower, x));
  const Samples inside = leave - enter;
  const Samples ends = leave + enter;
  const Samples enterSquared = enter * enter;
  const Samples leaveSquared = leave * leave;
  const Samples mean = before * enter + after * (one - leave) + inside * (previous + change * ends * half);
  const Samples lateMean =
      half * (before * enterSquared + after * (one - leaveSquared)) +
      inside * (previous * ends * half + change * (leaveSquared + leave * enter + enterSquared) *
                                             splat<Samples>(1.0f / 3.0f));
  return {mean, lateMean};
}

// Where a whole stretch of samples lies this fraction of the limits' distance inside them, a
// segment between two of them crosses neither limit within [0, 1] even after rounding, so
// clipSegment's pieces reduce to the line itself: enter is 0 and leave 1 exactly.
constexpr float kLineMargin = 1.0e-5f;

// clipSegment of two samples that lie kLineMargin inside the limits, in its own float steps
// with enter = 0 and leave = 1 (only the sign of a zero result may differ).
template <typename Samples>
[[gnu::always_inline]] inline ClippedSegment<Samples> lineSegment(Samples previous, Samples x) {
  const Samples half = splat<Samples>(0.5f);
  const Samples change = x - previous;
  return {previous + change * half, previous * half + change * splat<Samples>(1.0f / 3.0f)};
}

