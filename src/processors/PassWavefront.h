// Up to four equaliser passes (eight where the processor has AVX2) run side by side over one
// block, one pass per SIMD lane.
#pragma once

#include "frame/VstInterface.h"
#include "processors/HardClip.h"

// Pass p of sample i needs pass p - 1 of sample i and pass p of the two samples before, so
// consecutive passes can run as a wavefront: at step s lane l works on sample s - kSkew * l,
// taking as its input what lane l - 1 gave kSkew steps earlier. Every lane does exactly the
// float32 operations of one scalar pass in the same order, so each pass gives the same bits
// as when it runs alone, whatever the width of the register. The skew of several steps
// between neighbouring lanes keeps the chain from one lane's result to the next lane's result
// (shift, biquad, mix, post gain) off the per-step critical path, which is then the section's
// own recursion, as for a single pass.
// The lanes may belong to different equalisers in series, each with its own coefficients,
// and a lane that ends an equaliser may clip its result as a hard clipper in series would.
class PassWavefront {
 public:
  static constexpr VstInt32 kMaxLanes = 8;
  static constexpr VstInt32 kSkew = 4;
  // Outputs of one wavefront.
  static constexpr VstInt32 kMaxOutputs = 8;

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

  // The four lanes of an SSE2 register, which every target has.
  static constexpr VstInt32 kSse2Lanes = 4;

  // The most lanes of one wavefront on this processor: 8 with AVX2 on 64-bit Linux, else
  // kSse2Lanes. A wavefront of up to kSse2Lanes lanes runs in the SSE2 form.
  static VstInt32 laneCapacity();

  // Takes the lanes (1 to laneCapacity()); lanes beyond count compute, but nothing of theirs
  // is stored.
  PassWavefront(const Lane* lanes, VstInt32 count);

  // Runs the lanes over source, the input of lane 0, writing the results of the given lanes
  // (1 to kMaxOutputs outputs) in their order, so of two outputs with one destination the
  // later wins, as when the stages run one after another. Sample i of an output is written
  // after source[i] has been read, so a destination may be the source. The histories are
  // loaded at the start and stored back at the end.
  void run(const float* source, const Output* outputs, VstInt32 outputCount, VstInt32 sampleFrames);

 private:
  const Lane* lanes;
  VstInt32 count;
  bool anyClip = false;
};
