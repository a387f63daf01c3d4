// Up to four equaliser passes run side by side over one block, one pass per SSE lane.
#pragma once

#include <emmintrin.h>

#include "frame/VstInterface.h"

// Pass p of sample i needs pass p - 1 of sample i and pass p of the two samples before, so
// consecutive passes can run as a wavefront: at step s lane l works on sample s - kSkew * l,
// taking as its input what lane l - 1 gave kSkew steps earlier. Every lane does exactly the
// float32 operations of one scalar pass in the same order, so each pass gives the same bits
// as when it runs alone. The skew of several steps between neighbouring lanes keeps the chain
// from one lane's result to the next lane's result (shift, biquad, mix, post gain) off the
// per-step critical path, which is then the section's own recursion, as for a single pass.
// The lanes may belong to different equalisers in series, each with its own coefficients.
class PassWavefront {
 public:
  static constexpr VstInt32 kLanes = 4;
  static constexpr VstInt32 kSkew = 4;

  // The coefficients of one pass's section: the biquad (a0 is 1 and never used), the dry
  // factor 1 + G and the weight of the allpass output in the mix.
  struct Section {
    float b0, b1, b2, a1, a2, dry, weight;
  };

  // One lane: its section, its pass's histories (current, one back, two back), and whether
  // its result is scaled by postGain (the last pass of an equaliser), also before it feeds
  // the next lane.
  struct Lane {
    Section section;
    float* outputHistory;
    float* inputHistory;
    bool scaled;
    float postGain;
  };

  // Where the result of a lane goes: destination[i] for sample i.
  struct Output {
    VstInt32 lane;
    float* destination;
  };

  // Loads the lanes' histories; lanes beyond count compute, but nothing of theirs is stored.
  PassWavefront(const Lane* lanes, VstInt32 count);

  // Runs the lanes over source, the input of lane 0, writing the results of the given lanes
  // (at most kLanes outputs; the last lane must be one of them). Sample i of an output is
  // written after source[i] has been read, so a destination may be the source. The histories
  // are stored back at the end.
  void run(const float* source, const Output* outputs, VstInt32 outputCount, VstInt32 sampleFrames);

 private:
  struct Coefficients {
    __m128 b0, b1, b2, a1, a2, dry, weight, half, postGain;
  };
  // Each lane's input and output history, one and two samples back.
  struct Histories {
    __m128 x1, x2, y1, y2;
  };

  // Inlined into the loops so that the histories stay in registers.
  [[gnu::always_inline]] static inline __m128 step(const Coefficients& c, Histories& h, __m128 x);
  template <VstInt32 outputCount>
  static VstInt32 runFull(const Coefficients& c, Histories& histories, __m128* pending, const float* source,
                          const Output* outputs, VstInt32 first, VstInt32 sampleFrames);
  static __m128 laneMask(VstInt32 lane);
  void storeHistories() const;

  Coefficients coefficients;
  Histories state;
  const Lane* lanes;
  VstInt32 count;
};
