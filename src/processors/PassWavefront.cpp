#include "processors/PassWavefront.h"

#include <utility>

namespace {

__m128 blend(__m128 mask, __m128 chosen, __m128 other) {
  return _mm_or_ps(_mm_and_ps(mask, chosen), _mm_andnot_ps(mask, other));
}

// The inputs of a step: lane 0 takes the next source sample, lane l what lane l - 1 gave
// kSkew steps ago.
__m128 feed(__m128 earlier, float sample) {
  const __m128 shifted = _mm_castsi128_ps(_mm_slli_si128(_mm_castps_si128(earlier), 4));
  return _mm_move_ss(shifted, _mm_set_ss(sample));
}

bool clipsAnything(const HardClip& clip) {
  const HardClip none = HardClip::identity();
  return !(clip.inputGain == none.inputGain && clip.upper == none.upper && clip.lower == none.lower &&
           clip.outputGain == none.outputGain);
}

// Calls run.operator()<n>() for n = count, 1 <= count <= maxCount, so that a loop written
// for a count known when compiling serves every count.
template <VstInt32 maxCount, typename Run, VstInt32... n>
decltype(auto) withCount(VstInt32 count, Run&& run, std::integer_sequence<VstInt32, n...>) {
  using Result = decltype(run.template operator()<1>());
  Result result{};
  ((count == n + 1 ? (result = run.template operator()<n + 1>(), true) : false) || ...);
  return result;
}

}  // namespace

PassWavefront::PassWavefront(const Lane* lanes, VstInt32 count) : lanes(lanes), count(count) {
  constexpr int kValues = 17;
  alignas(16) float values[kValues][kLanes] = {};
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
    anyClip = anyClip || clipsAnything(lane.clip);
  }
  auto vector = [&](int v) { return _mm_load_ps(values[v]); };
  coefficients = {vector(0), vector(1), vector(2),  vector(3),  vector(4),  vector(5), vector(6),
                  vector(7), vector(8), vector(9), vector(10), vector(11), vector(12)};
  state = {vector(13), vector(14), vector(15), vector(16)};
}

// y = b0·x + b1·x1 + b2·x2 − a1·y1 − a2·y2 left to right, then 0.5 · ((1 + G)·x + c·y),
// times the post gain in the lanes that end an equaliser and times 1 in the others, then the
// clipping where a lane clips. The factor 1, and the clipping of a lane that does not clip
// where another does, change no value: the mix is never a signalling NaN, and never
// subnormal while denormals read as zero, since the engine flushes and reads as zero together.
template <bool clips>
__m128 PassWavefront::step(const Coefficients& c, Histories& h, __m128 x, float (&results)[2][kLanes]) {
  const __m128 feedForward =
      _mm_add_ps(_mm_add_ps(_mm_mul_ps(c.b0, x), _mm_mul_ps(c.b1, h.x1)), _mm_mul_ps(c.b2, h.x2));
  const __m128 y = _mm_sub_ps(_mm_sub_ps(feedForward, _mm_mul_ps(c.a1, h.y1)), _mm_mul_ps(c.a2, h.y2));
  h = {x, h.x1, y, h.y1};
  const __m128 mixed = _mm_mul_ps(c.half, _mm_add_ps(_mm_mul_ps(c.dry, x), _mm_mul_ps(c.weight, y)));
  const __m128 scaled = _mm_mul_ps(c.postGain, mixed);
  _mm_store_ps(results[0], scaled);
  if constexpr (!clips) return scaled;
  const __m128 clipped = clipHard(Float4{scaled}, Float4{c.clipInputGain}, Float4{c.clipUpper},
                                  Float4{c.clipLower}, Float4{c.clipOutputGain})
                             .lanes;
  _mm_store_ps(results[1], clipped);
  return clipped;
}

// All ones in lane l.
__m128 PassWavefront::laneMask(VstInt32 l) {
  return _mm_castsi128_ps(_mm_cmpeq_epi32(_mm_set1_epi32(l), _mm_setr_epi32(0, 1, 2, 3)));
}

// Every step runs all lanes. A lane whose sample lies outside the block computes from
// whatever it is given, but only ever feeds lanes outside the block too; its histories are
// set back to the block's start just before its first sample (lane l at step kSkew * l) and
// taken just after its last (step sampleFrames - 1 + kSkew * l). The steps at either end of
// the block, where the wavefront fills and drains, check for those events and for which
// outputs fall in the block; the steps between run four at a time without checks.
void PassWavefront::run(const float* source, const Output* outputs, VstInt32 outputCount,
                        VstInt32 sampleFrames) {
  if (anyClip) {
    run<true>(source, outputs, outputCount, sampleFrames);
  } else {
    run<false>(source, outputs, outputCount, sampleFrames);
  }
}

template <bool clips>
void PassWavefront::run(const float* source, const Output* outputs, VstInt32 outputCount, VstInt32 sampleFrames) {
  const VstInt32 fill = kSkew * (count - 1);
  const VstInt32 steps = sampleFrames + fill;
  Histories histories = state, final = state;
  __m128 pending[kSkew] = {};
  VstInt32 s = 0;
  runEdgeSteps<clips>(s, fill < sampleFrames ? fill : steps, source, outputs, outputCount, sampleFrames, histories,
                      final, pending);
  if (s < sampleFrames) {
    if (count > 1) restart(count - 1, histories);
    s = runFullSteps<clips>(coefficients, histories, pending, source, outputs, outputCount, s, sampleFrames);
    if (s == sampleFrames) finish(0, histories, final);
  }
  runEdgeSteps<clips>(s, steps, source, outputs, outputCount, sampleFrames, histories, final, pending);
  state = final;
  storeHistories();
}

template <bool clips>
void PassWavefront::runEdgeSteps(VstInt32& s, VstInt32 end, const float* source, const Output* outputs,
                                 VstInt32 outputCount, VstInt32 sampleFrames, Histories& histories,
                                 Histories& final, __m128* pending) const {
  for (; s < end; ++s) {
    if (s % kSkew == 0 && s / kSkew > 0 && s / kSkew < count) restart(s / kSkew, histories);
    const __m128 x = feed(pending[s % kSkew], s < sampleFrames ? source[s] : 0.0f);
    alignas(16) float results[2][kLanes];
    pending[s % kSkew] = step<clips>(coefficients, histories, x, results);
    for (VstInt32 o = 0; o < outputCount; ++o) {
      const VstInt32 sample = s - kSkew * outputs[o].lane;
      const int which = clips && outputs[o].clipped ? 1 : 0;
      if (sample >= 0 && sample < sampleFrames) outputs[o].destination[sample] = results[which][outputs[o].lane];
    }
    const VstInt32 afterLast = s - (sampleFrames - 1);
    if (afterLast >= 0 && afterLast % kSkew == 0 && afterLast / kSkew < count) {
      finish(afterLast / kSkew, histories, final);
    }
  }
}

template <bool clips>
VstInt32 PassWavefront::runFullSteps(const Coefficients& c, Histories& histories, __m128* pending,
                                     const float* source, const Output* outputs, VstInt32 outputCount,
                                     VstInt32 first, VstInt32 sampleFrames) {
  return withCount<kMaxOutputs>(
      outputCount,
      [&]<VstInt32 n>() { return runFull<n, clips>(c, histories, pending, source, outputs, first, sampleFrames); },
      std::make_integer_sequence<VstInt32, kMaxOutputs>{});
}

// The steps in which every lane is valid, kSkew at a time from step first while they fit in
// the block; returns the step reached. The histories, on the critical path, stay in registers
// (a copy whose address is not taken), as do the outputs' lanes and destinations.
template <VstInt32 outputCount, bool clips>
VstInt32 PassWavefront::runFull(const Coefficients& c, Histories& histories, __m128* pending, const float* source,
                                const Output* outputs, VstInt32 first, VstInt32 sampleFrames) {
  VstInt32 lane[outputCount];
  VstInt32 which[outputCount];
  float* destination[outputCount];
  for (VstInt32 o = 0; o < outputCount; ++o) {
    lane[o] = outputs[o].lane;
    which[o] = clips && outputs[o].clipped ? 1 : 0;
    destination[o] = outputs[o].destination;
  }
  Histories hot = histories;
  __m128 waiting[kSkew];
  for (VstInt32 j = 0; j < kSkew; ++j) waiting[j] = pending[j];
  // Unrolled by folding, whatever the compiler would decide for a loop this size.
  auto stepAndWrite = [&]<VstInt32 j, VstInt32... o>(VstInt32 s, std::integer_sequence<VstInt32, o...>) {
    alignas(16) float results[2][kLanes];
    waiting[j] = step<clips>(c, hot, feed(waiting[j], source[s + j]), results);
    ((destination[o][s + j - kSkew * lane[o]] = results[which[o]][lane[o]]), ...);
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

void PassWavefront::restart(VstInt32 l, Histories& histories) const {
  const __m128 mask = laneMask(l);
  histories = {blend(mask, state.x1, histories.x1), blend(mask, state.x2, histories.x2),
               blend(mask, state.y1, histories.y1), blend(mask, state.y2, histories.y2)};
}

void PassWavefront::finish(VstInt32 l, const Histories& histories, Histories& final) {
  const __m128 mask = laneMask(l);
  final = {blend(mask, histories.x1, final.x1), blend(mask, histories.x2, final.x2),
           blend(mask, histories.y1, final.y1), blend(mask, histories.y2, final.y2)};
}

// After a block every valid lane has taken its last sample, so its current input equals the
// input one sample back, as the scalar pass leaves it.
void PassWavefront::storeHistories() const {
  alignas(16) float values[4][kLanes];
  _mm_store_ps(values[0], state.x1);
  _mm_store_ps(values[1], state.x2);
  _mm_store_ps(values[2], state.y1);
  _mm_store_ps(values[3], state.y2);
  for (VstInt32 l = 0; l < count; ++l) {
    lanes[l].inputHistory[0] = values[0][l];
    lanes[l].inputHistory[1] = values[0][l];
    lanes[l].inputHistory[2] = values[1][l];
    lanes[l].outputHistory[1] = values[2][l];
    lanes[l].outputHistory[2] = values[3][l];
  }
}
