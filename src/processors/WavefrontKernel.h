// The work of PassWavefront for one width of SIMD register. Included by the file that
// instantiates it for its instruction set (and by nothing else), with a lane type that
// provides the vector V of kCount floats and its operations:
//   V load(const float*), void store(float*, V), V zero()  (aligned to the vector)
//   V feed(V earlier, float sample)   earlier moved up one lane, sample in lane 0
//   V laneMask(VstInt32 l)            all ones in lane l
//   V blend(V mask, V chosen, V other), V greater(V a, V b) (mask of a > b),
//   V greaterOf(V a, V b)             a > b ? a : b
// and +, -, * of V as the compiler's vector operations. Only the lane type and this
// template are compiled for the instruction set, so nothing shared is built with it.
#pragma once

#include <utility>

#include "processors/PassWavefront.h"

template <typename Lanes>
class WavefrontKernel {
 public:
  using V = typename Lanes::V;
  static constexpr VstInt32 kLanes = Lanes::kCount;
  static constexpr VstInt32 kSkew = PassWavefront::kSkew;
  using Lane = PassWavefront::Lane;
  using Output = PassWavefront::Output;

  WavefrontKernel(const Lane* lanes, VstInt32 count, bool anyClip) : lanes(lanes), count(count), anyClip(anyClip) {
    constexpr int kValues = 17;
    alignas(sizeof(V)) float values[kValues][kLanes] = {};
    for (VstInt32 l = 0; l < kLanes; ++l) {
      // Lanes beyond count repeat the last one, so that they compute ordinary numbers.
      const Lane& lane = lanes[l < count ? l : count - 1];
      const float laneValues[kValues] = {lane.section.b0,      lane.section.b1,      lane.section.b2,
                                         lane.section.a1,      lane.section.a2,      lane.section.dry,
                                         lane.section.weight,  0.5f,                 lane.scaled ? lane.postGain : 1.0f,
                                         lane.clip.inputGain,  lane.clip.upper,      lane.clip.lower,
                                         lane.clip.outputGain, lane.inputHistory[1], lane.inputHistory[2],
                                         lane.outputHistory[1], lane.outputHistory[2]};
      for (int v = 0; v < kValues; ++v) values[v][l] = laneValues[v];
    }
    auto vector = [&](int v) { return Lanes::load(values[v]); };
    coefficients = {vector(0), vector(1), vector(2),  vector(3),  vector(4),  vector(5), vector(6),
                    vector(7), vector(8), vector(9), vector(10), vector(11), vector(12)};
    state = {vector(13), vector(14), vector(15), vector(16)};
  }

  // Every step runs all lanes. A lane whose sample lies outside the block computes from
  // whatever it is given, but only ever feeds lanes outside the block too; its histories are
  // set back to the block's start just before its first sample (lane l at step kSkew * l)
  // and taken just after its last (step sampleFrames - 1 + kSkew * l). The steps at either
  // end of the block, where the wavefront fills and drains, check for those events and for
  // which outputs fall in the block; the steps between run kSkew at a time without checks.
  void run(const float* source, const Output* outputs, VstInt32 outputCount, VstInt32 sampleFrames) {
    if (anyClip) {
      run<true>(source, outputs, outputCount, sampleFrames);
    } else {
      run<false>(source, outputs, outputCount, sampleFrames);
    }
  }

 private:
  struct Coefficients {
    V b0, b1, b2, a1, a2, dry, weight, half, postGain;
    V clipInputGain, clipUpper, clipLower, clipOutputGain;
  };
  // Each lane's input and output history, one and two samples back.
  struct Histories {
    V x1, x2, y1, y2;
  };
  // A step's results: as mixed and scaled, then as clipped.
  struct Results {
    alignas(sizeof(V)) float values[2][kLanes];
  };

  template <bool clips>
  void run(const float* source, const Output* outputs, VstInt32 outputCount, VstInt32 sampleFrames) {
    const VstInt32 fill = kSkew * (count - 1);
    const VstInt32 steps = sampleFrames + fill;
    Histories histories = state, final = state;
    V pending[kSkew];
    for (V& earlier : pending) earlier = Lanes::zero();
    VstInt32 s = 0;
    runEdgeSteps<clips>(s, fill < sampleFrames ? fill : steps, source, outputs, outputCount, sampleFrames, histories,
                        final, pending);
    if (s < sampleFrames) {
      if (count > 1) restart(count - 1, histories);
      s = runFullSteps<clips>(histories, pending, source, outputs, outputCount, s, sampleFrames);
      if (s == sampleFrames) finish(0, histories, final);
    }
    runEdgeSteps<clips>(s, steps, source, outputs, outputCount, sampleFrames, histories, final, pending);
    storeHistories(final);
  }

  // y = b0·x + b1·x1 + b2·x2 − a1·y1 − a2·y2 left to right, then 0.5 · ((1 + G)·x + c·y),
  // times the post gain in the lanes that end an equaliser and times 1 in the others, then
  // the clipping where a lane clips, as the clipper's kernel does it. The factor 1, and the
  // clipping of a lane that does not clip where another does, change no value: the mix is
  // never a signalling NaN, and never subnormal while denormals read as zero, since the
  // engine flushes and reads as zero together. Inlined into the loops so that the histories
  // stay in registers.
  template <bool clips>
  [[gnu::always_inline]] static inline V step(const Coefficients& c, Histories& h, V x, Results& results) {
    const V feedForward = c.b0 * x + c.b1 * h.x1 + c.b2 * h.x2;
    const V y = feedForward - c.a1 * h.y1 - c.a2 * h.y2;
    h = {x, h.x1, y, h.y1};
    const V scaled = c.postGain * (c.half * (c.dry * x + c.weight * y));
    Lanes::store(results.values[0], scaled);
    if constexpr (!clips) return scaled;
    const V gained = scaled * c.clipInputGain;
    const V clipped = c.clipOutputGain * Lanes::blend(Lanes::greater(gained, c.clipUpper), c.clipUpper,
                                                      Lanes::greaterOf(c.clipLower, gained));
    Lanes::store(results.values[1], clipped);
    return clipped;
  }

  template <bool clips>
  void runEdgeSteps(VstInt32& s, VstInt32 end, const float* source, const Output* outputs, VstInt32 outputCount,
                    VstInt32 sampleFrames, Histories& histories, Histories& final, V* pending) const {
    for (; s < end; ++s) {
      if (s % kSkew == 0 && s / kSkew > 0 && s / kSkew < count) restart(s / kSkew, histories);
      const V x = Lanes::feed(pending[s % kSkew], s < sampleFrames ? source[s] : 0.0f);
      Results results;
      pending[s % kSkew] = step<clips>(coefficients, histories, x, results);
      for (VstInt32 o = 0; o < outputCount; ++o) {
        const VstInt32 sample = s - kSkew * outputs[o].lane;
        const int which = clips && outputs[o].clipped ? 1 : 0;
        if (sample >= 0 && sample < sampleFrames) {
          outputs[o].destination[sample] = results.values[which][outputs[o].lane];
        }
      }
      const VstInt32 afterLast = s - (sampleFrames - 1);
      if (afterLast >= 0 && afterLast % kSkew == 0 && afterLast / kSkew < count) {
        finish(afterLast / kSkew, histories, final);
      }
    }
  }

  // Calls runFull<n> for n = outputCount, so that the loop knows its outputs when compiled.
  template <bool clips, VstInt32... n>
  VstInt32 runFullFor(VstInt32 outputCount, Histories& histories, V* pending, const float* source,
                      const Output* outputs, VstInt32 first, VstInt32 sampleFrames,
                      std::integer_sequence<VstInt32, n...>) const {
    VstInt32 reached = first;
    const bool matched =
        ((outputCount == n + 1 &&
          (reached = runFull<n + 1, clips>(histories, pending, source, outputs, first, sampleFrames), true)) ||
         ...);
    return matched ? reached : first;
  }

  template <bool clips>
  VstInt32 runFullSteps(Histories& histories, V* pending, const float* source, const Output* outputs,
                        VstInt32 outputCount, VstInt32 first, VstInt32 sampleFrames) const {
    return runFullFor<clips>(outputCount, histories, pending, source, outputs, first, sampleFrames,
                             std::make_integer_sequence<VstInt32, PassWavefront::kMaxOutputs>{});
  }

  // The steps in which every lane is valid, kSkew at a time from step first while they fit
  // in the block; returns the step reached. The histories, on the critical path, stay in
  // registers (a copy whose address is not taken), as do the outputs' lanes and destinations.
  // Steps and writes are unrolled by folding, whatever the compiler would decide for loops.
  template <VstInt32 outputCount, bool clips>
  VstInt32 runFull(Histories& histories, V* pending, const float* source, const Output* outputs, VstInt32 first,
                   VstInt32 sampleFrames) const {
    const Coefficients c = coefficients;
    VstInt32 lane[outputCount];
    VstInt32 which[outputCount];
    float* destination[outputCount];
    for (VstInt32 o = 0; o < outputCount; ++o) {
      lane[o] = outputs[o].lane;
      which[o] = clips && outputs[o].clipped ? 1 : 0;
      destination[o] = outputs[o].destination;
    }
    Histories hot = histories;
    V waiting[kSkew];
    for (VstInt32 j = 0; j < kSkew; ++j) waiting[j] = pending[j];
    auto stepAndWrite = [&]<VstInt32 j, VstInt32... o>(VstInt32 s, std::integer_sequence<VstInt32, o...>) {
      Results results;
      waiting[j] = step<clips>(c, hot, Lanes::feed(waiting[j], source[s + j]), results);
      ((destination[o][s + j - kSkew * lane[o]] = results.values[which[o]][lane[o]]), ...);
    };
    VstInt32 s = first;
    for (; s + kSkew <= sampleFrames; s += kSkew) {
      [&]<VstInt32... j>(std::integer_sequence<VstInt32, j...>) {
        (stepAndWrite.template operator()<j>(s, std::make_integer_sequence<VstInt32, outputCount>{}), ...);
      }(std::make_integer_sequence<VstInt32, kSkew>{});
    }
    histories = hot;
    for (VstInt32 j = 0; j < kSkew; ++j) pending[j] = waiting[j];
    return s;
  }

  void restart(VstInt32 l, Histories& histories) const {
    const V mask = Lanes::laneMask(l);
    histories = {Lanes::blend(mask, state.x1, histories.x1), Lanes::blend(mask, state.x2, histories.x2),
                 Lanes::blend(mask, state.y1, histories.y1), Lanes::blend(mask, state.y2, histories.y2)};
  }

  static void finish(VstInt32 l, const Histories& histories, Histories& final) {
    const V mask = Lanes::laneMask(l);
    final = {Lanes::blend(mask, histories.x1, final.x1), Lanes::blend(mask, histories.x2, final.x2),
             Lanes::blend(mask, histories.y1, final.y1), Lanes::blend(mask, histories.y2, final.y2)};
  }

  // After a block every valid lane has taken its last sample, so its current input equals
  // the input one sample back, as the scalar pass leaves it.
  void storeHistories(const Histories& final) const {
    alignas(sizeof(V)) float values[4][kLanes];
    Lanes::store(values[0], final.x1);
    Lanes::store(values[1], final.x2);
    Lanes::store(values[2], final.y1);
    Lanes::store(values[3], final.y2);
    for (VstInt32 l = 0; l < count; ++l) {
      lanes[l].inputHistory[0] = values[0][l];
      lanes[l].inputHistory[1] = values[0][l];
      lanes[l].inputHistory[2] = values[1][l];
      lanes[l].outputHistory[1] = values[2][l];
      lanes[l].outputHistory[2] = values[3][l];
    }
  }

  Coefficients coefficients;
  Histories state;
  const Lane* lanes;
  VstInt32 count;
  bool anyClip;
};
