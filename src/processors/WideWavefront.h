// The equaliser wavefront in the eight lanes of an AVX2 register, built into the 64-bit Linux
// module (TORVIX_WIDE_WAVEFRONT); the module still runs on processors without AVX2, where
// PassWavefront keeps to four SSE2 lanes.
#pragma once

#include "processors/PassWavefront.h"

class WideWavefront {
 public:
  static constexpr VstInt32 kLanes = 8;

  // Whether the processor runs AVX2 and the operating system keeps its registers.
  static bool available();
  // PassWavefront::run for 1 to kLanes lanes; only where available().
  static void run(const PassWavefront::Lane* lanes, VstInt32 count, bool anyClip, const float* source,
                  const PassWavefront::Output* outputs, VstInt32 outputCount, VstInt32 sampleFrames);
};
