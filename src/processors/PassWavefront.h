// Up to four equaliser passes run side by side over one block, one pass per SSE lane.
#pragma once

#include <emmintrin.h>

#include "frame/VstInterface.h"
#include "processors/HardClip.h"

// Pass p of sample i needs pass p - 1 of sample i and pass p of the two samples before, so
// consecutive passes can run as a wavefront: at step s lane l works on sample s - kSkew * l,
// taking as its input what lane l - 1 gave kSkew steps earlier. Every lane does exactly the
// float32 operations of one scalar pass in the same order, so each pass gives the same bits
// as when it runs alone. The skew of several steps between neighbouring lanes keeps the chain
// from one lane's result to the next lane's result (shift, biquad, mix, post gain) off the
// per-step critical path, which is then the section's own recursion, as for a single pass.
// The lanes may belong to different equalisers in series, each with its own coefficients,
// and a lane that ends an equaliser may clip its result as a hard clipper in series would.
class PassWavefront {
 public:
  static constexpr VstInt32 kLanes = 4;
  static constexpr VstInt32 kSkew = 4;
  // Each lane's result, before and after its clipping.
  static constexpr VstInt32 kMaxOutputs = 2 * kLanes;

  // The coefficients of one pass's section: the biquad (a0 is 1 and never used), the dry
  // factor 1 + G and the weight of the allpass output in the mix.
  struct Section {
    float b0, b1, b2, a1, a2, dry, weight;
  };

  // One lane: its section, its pass's histories (current, one back, two back), whether its
  // result is scaled by postGain (the last pass of an equaliser), and the clipping of that
  // result (HardClip::identity() for none); the clipped result feeds the next lane.
  struct Lane {
    Section section;
    float* outputHistory;
    float* inputHistory;
    bool scaled;
    float postGain;
    HardClip clip;
  };

  // Where the result of a lane goes, before or after its clipping: destination[i] for
  // sample i.
  struct Output {
    VstInt32 lane;
    bool clipped;
    float* destination;
  };

  // Loads the lanes' histories; lanes beyond count compute, but nothing of theirs is stored.
  PassWavefront(const Lane* lanes, VstInt32 count);

  // Runs the lanes over source, the input of lane 0, writing the results of the given lanes
  // (1 to kMaxOutputs outputs) in their order, so of two outputs with one destination the
  // later wins, as when the stages run one after another. Sample i of an output is written
  // after source[i] has been read, so a destination may be the source. The histories are
  // stored back at the end.
  void run(const float* source, const Output* outputs, VstInt32 outputCount, VstInt32 sampleFrames);

 private:
  struct Coefficients {
    __m128 b0, b1, b2, a1, a2, dry, weight, half, postGain;
    __m128 clipInputGain, clipUpper, clipLower, clipOutputGain;
  };
  // Each lane's input and output history, one and two samples back.
  struct Histories {
    __m128 x1, x2, y1, y2;
  };

  // Inlined into the loops so that the histories stay in registers. Returns the clipped
  // result; results[0] receives it as mixed and scaled, results[1] as clipped.
  template <bool clips>
  [[gnu::always_inline]] static inline __m128 step(const Coefficients& c, Histories& h, __m128 x,
                                                   float (&results)[2][kLanes]);
  template <bool clips>
  void run(const float* source, const Output* outputs, VstInt32 outputCount, VstInt32 sampleFrames);
  template <bool clips>
  void runEdgeSteps(VstInt32& s, VstInt32 end, const float* source, const Output* outputs, VstInt32 outputCount,
                    VstInt32 sampleFrames, Histories& histories, Histories& final, __m128* pending) const;
  template <bool clips>
  static VstInt32 runFullSteps(const Coefficients& c, Histories& histories, __m128* pending, const float* source,
                               const Output* outputs, VstInt32 outputCount, VstInt32 first, VstInt32 sampleFrames);
  template <VstInt32 outputCount, bool clips>
  static VstInt32 runFull(const Coefficients& c, Histories& histories, __m128* pending, const float* source,
                          const Output* outputs, VstInt32 first, VstInt32 sampleFrames);
  static __m128 laneMask(VstInt32 lane);
  void restart(VstInt32 lane, Histories& histories) const;
  static void finish(VstInt32 lane, const Histories& histories, Histories& final);
  void storeHistories() const;

  Coefficients coefficients;
  Histories state;
  const Lane* lanes;
  VstInt32 count;
  bool anyClip = false;
};
