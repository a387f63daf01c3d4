// The segments of the clipper's second-order anti-aliasing integrated eight at a time in an
// AVX2 register, built into the 64-bit Linux module (TORVIX_WIDE_WAVEFRONT) and used where
// WideWavefront::available(); elsewhere the clipper keeps to four SSE2 lanes. Each lane runs
// clipSegment's float32 steps, so both widths give the same bits.
#pragma once

#include "frame/VstInterface.h"

class WideClipSegments {
 public:
  static constexpr VstInt32 kLanes = 8;

  // audio: for i below count, the segment from gained[i] to gained[i + 1] integrated as
  // clipSegment does (lineSegment where line), its early half into early[i] and its late
  // half into late[i + 1]. Works in whole registers: gained must hold count rounded up to
  // kLanes, plus one, samples (those beyond count + 1 are read but need no value), early
  // and late as many; entries beyond count and count + 1 are overwritten.
  static void integrate(const float* gained, float* early, float* late, VstInt32 count, float upper, float lower,
                        bool line);
};
