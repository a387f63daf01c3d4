#include "processors/PassWavefront.h"

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

}  // namespace

PassWavefront::PassWavefront(const Lane* lanes, VstInt32 count) : lanes(lanes), count(count) {
  alignas(16) float values[13][kLanes] = {};
  for (VstInt32 l = 0; l < kLanes; ++l) {
    // Lanes beyond count repeat the last one, so that they compute ordinary numbers.
    const Lane& lane = lanes[l < count ? l : count - 1];
    const float laneValues[] = {lane.section.b0,      lane.section.b1,      lane.section.b2,
                                lane.section.a1,      lane.section.a2,      lane.section.dry,
                                lane.section.weight,  0.5f,                 lane.scaled ? lane.postGain : 1.0f,
                                lane.inputHistory[1], lane.inputHistory[2], lane.outputHistory[1],
                                lane.outputHistory[2]};
    for (int v = 0; v < 13; ++v) values[v][l] = laneValues[v];
  }
  auto vector = [&](int v) { return _mm_load_ps(values[v]); };
  coefficients = {vector(0), vector(1), vector(2), vector(3), vector(4),
                  vector(5), vector(6), vector(7), vector(8)};
  state = {vector(9), vector(10), vector(11), vector(12)};
}

// y = b0·x + b1·x1 + b2·x2 − a1·y1 − a2·y2 left to right, then 0.5 · ((1 + G)·x + c·y),
// times the post gain in the lanes that end an equaliser and times 1 in the others. The
// factor 1 changes no value: the mix is never a signalling NaN, and never subnormal while
// denormals read as zero, since the engine flushes and reads as zero together.
__m128 PassWavefront::step(const Coefficients& c, Histories& h, __m128 x) {
  const __m128 feedForward =
      _mm_add_ps(_mm_add_ps(_mm_mul_ps(c.b0, x), _mm_mul_ps(c.b1, h.x1)), _mm_mul_ps(c.b2, h.x2));
  const __m128 y = _mm_sub_ps(_mm_sub_ps(feedForward, _mm_mul_ps(c.a1, h.y1)), _mm_mul_ps(c.a2, h.y2));
  h = {x, h.x1, y, h.y1};
  const __m128 mixed = _mm_mul_ps(c.half, _mm_add_ps(_mm_mul_ps(c.dry, x), _mm_mul_ps(c.weight, y)));
  return _mm_mul_ps(c.postGain, mixed);
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
  const VstInt32 fill = kSkew * (count - 1);
  const VstInt32 steps = sampleFrames + fill;
  const Coefficients c = coefficients;
  const Histories initial = state;
  Histories histories = state, final = state;
  auto restart = [&](VstInt32 l) {
    const __m128 mask = laneMask(l);
    histories = {blend(mask, initial.x1, histories.x1), blend(mask, initial.x2, histories.x2),
                 blend(mask, initial.y1, histories.y1), blend(mask, initial.y2, histories.y2)};
  };
  auto finish = [&](VstInt32 l) {
    const __m128 mask = laneMask(l);
    final = {blend(mask, histories.x1, final.x1), blend(mask, histories.x2, final.x2),
             blend(mask, histories.y1, final.y1), blend(mask, histories.y2, final.y2)};
  };
  __m128 pending[kSkew] = {};
  VstInt32 s = 0;
  auto edgeSteps = [&](VstInt32 end) {
    for (; s < end; ++s) {
      if (s % kSkew == 0 && s / kSkew > 0 && s / kSkew < count) restart(s / kSkew);
      const __m128 x = feed(pending[s % kSkew], s < sampleFrames ? source[s] : 0.0f);
      pending[s % kSkew] = step(c, histories, x);
      alignas(16) float values[kLanes];
      _mm_store_ps(values, pending[s % kSkew]);
      for (VstInt32 o = 0; o < outputCount; ++o) {
        const VstInt32 sample = s - kSkew * outputs[o].lane;
        if (sample >= 0 && sample < sampleFrames) outputs[o].destination[sample] = values[outputs[o].lane];
      }
      const VstInt32 afterLast = s - (sampleFrames - 1);
      if (afterLast >= 0 && afterLast % kSkew == 0 && afterLast / kSkew < count) finish(afterLast / kSkew);
    }
  };
  edgeSteps(fill < sampleFrames ? fill : steps);
  if (s < sampleFrames) {
    if (count > 1) restart(count - 1);
    switch (outputCount) {
      case 1:
        s = runFull<1>(c, histories, pending, source, outputs, s, sampleFrames);
        break;
      case 2:
        s = runFull<2>(c, histories, pending, source, outputs, s, sampleFrames);
        break;
      case 3:
        s = runFull<3>(c, histories, pending, source, outputs, s, sampleFrames);
        break;
      default:
        s = runFull<4>(c, histories, pending, source, outputs, s, sampleFrames);
        break;
    }
    if (s == sampleFrames) finish(0);
  }
  edgeSteps(steps);
  state = final;
  storeHistories();
}

// The steps in which every lane is valid, kSkew at a time from step first while they fit in
// the block; returns the step reached. The histories, on the critical path, stay in registers
// (a copy whose address is not taken), as do the outputs' lanes and destinations.
template <VstInt32 outputCount>
VstInt32 PassWavefront::runFull(const Coefficients& c, Histories& histories, __m128* pending, const float* source,
                                const Output* outputs, VstInt32 first, VstInt32 sampleFrames) {
  VstInt32 lane[outputCount];
  float* destination[outputCount];
  for (VstInt32 o = 0; o < outputCount; ++o) {
    lane[o] = outputs[o].lane;
    destination[o] = outputs[o].destination;
  }
  Histories hot = histories;
  __m128 waiting[kSkew] = {pending[0], pending[1], pending[2], pending[3]};
  VstInt32 s = first;
  for (; s + kSkew <= sampleFrames; s += kSkew) {
    for (VstInt32 j = 0; j < kSkew; ++j) {
      const __m128 results = step(c, hot, feed(waiting[j], source[s + j]));
      waiting[j] = results;
      alignas(16) float values[kLanes];
      _mm_store_ps(values, results);
      for (VstInt32 o = 0; o < outputCount; ++o) destination[o][s + j - kSkew * lane[o]] = values[lane[o]];
    }
  }
  histories = hot;
  for (VstInt32 j = 0; j < kSkew; ++j) pending[j] = waiting[j];
  return s;
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
