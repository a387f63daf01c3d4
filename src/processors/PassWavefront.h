// Up to four passes of the equaliser's section run side by side over one block, one pass
// per SSE lane.
#pragma once

#include <emmintrin.h>

#include "frame/VstInterface.h"

// Pass p of sample i needs pass p - 1 of sample i and pass p of the two samples before, so
// the passes can run as a wavefront: at step s lane l works on sample s - kSkew * l, taking
// as its input what lane l - 1 gave kSkew steps earlier. Every lane does exactly the float32
// operations of one scalar pass in the same order, so each pass gives the same bits as when
// it runs alone. The skew of several steps between neighbouring lanes keeps the chain from
// one lane's result to the next lane's result (shift, biquad, mix) off the per-step critical
// path, which is then the section's own recursion, as for a single pass.
class PassWavefront {
 public:
  static constexpr VstInt32 kLanes = 4;
  static constexpr VstInt32 kSkew = 4;

  // The coefficients that every pass shares: the biquad (a0 is 1 and never used), the dry
  // factor 1 + G and the weight of the allpass output in the mix.
  struct Section {
    float b0, b1, b2, a1, a2, dry, weight;
  };

  // The per-pass history blocks of the equaliser, pass after pass, each holding the output
  // history (current, one back, two back) at 0 and the input history at inputOffset.
  struct Histories {
    float* first;
    VstInt32 stride;
    VstInt32 inputOffset;
  };

  // Loads the histories of the lanes' passes; lanes beyond passes compute, but their results
  // are never stored. The histories must hold kLanes passes from histories.first.
  PassWavefront(const Section& section, const Histories& histories, VstInt32 passes);

  // Runs the passes over source into destination (which may be source). The last pass's
  // result is written, times outputGain when scaled; destination[i] is written after
  // source[i] has been read. The histories of the passes are stored back at the end.
  template <bool scaled>
  void run(const float* source, float* destination, VstInt32 sampleFrames, float outputGain);

 private:
  struct Coefficients {
    __m128 b0, b1, b2, a1, a2, dry, weight, half;
  };

  __m128 step(__m128 x);
  __m128 maskedStep(__m128 x, __m128 valid);
  __m128 laneValidity(VstInt32 step, VstInt32 sampleFrames) const;
  void storeHistories() const;

  Coefficients c;
  Histories histories;
  VstInt32 passes;
  __m128 x1, x2, y1, y2;
};
