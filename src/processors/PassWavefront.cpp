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

// A step in which only the valid lanes advance their histories; the others keep theirs.
__m128 PassWavefront::maskedStep(const Coefficients& c, Histories& h, __m128 x, __m128 valid) {
  const Histories kept = h;
  const __m128 result = step(c, h, x);
  h = {blend(valid, h.x1, kept.x1), blend(valid, h.x2, kept.x2), blend(valid, h.y1, kept.y1),
       blend(valid, h.y2, kept.y2)};
  return result;
}

// Lane l is valid at a step when it is one of the passes and its sample lies in the block.
__m128 PassWavefront::laneValidity(VstInt32 step, VstInt32 sampleFrames) const {
  const __m128i sample = _mm_sub_epi32(_mm_set1_epi32(step), _mm_setr_epi32(0, kSkew, 2 * kSkew, 3 * kSkew));
  const __m128i inBlock = _mm_and_si128(_mm_cmpgt_epi32(sample, _mm_set1_epi32(-1)),
                                        _mm_cmplt_epi32(sample, _mm_set1_epi32(sampleFrames)));
  const __m128i isPass = _mm_cmpgt_epi32(_mm_set1_epi32(count), _mm_setr_epi32(0, 1, 2, 3));
  return _mm_castsi128_ps(_mm_and_si128(inBlock, isPass));
}

// Steps whose lanes are all valid run unmasked, with the histories in registers; the steps at
// either end of the block, where the wavefront fills and drains, run masked. A lane's
// invalid results only ever feed invalid lanes.
void PassWavefront::run(const float* source, const Output* outputs, VstInt32 outputCount,
                        VstInt32 sampleFrames) {
  const VstInt32 fill = kSkew * (count - 1);
  const VstInt32 steps = sampleFrames + fill;
  const Coefficients c = coefficients;
  Histories histories = state;
  auto emit = [&](VstInt32 step, __m128 results) {
    alignas(16) float values[kLanes];
    _mm_store_ps(values, results);
    for (VstInt32 o = 0; o < outputCount; ++o) {
      const VstInt32 sample = step - kSkew * outputs[o].lane;
      if (sample >= 0 && sample < sampleFrames) outputs[o].destination[sample] = values[outputs[o].lane];
    }
  };
  __m128 pending[kSkew] = {};
  VstInt32 s = 0;
  auto maskedSteps = [&](VstInt32 end) {
    for (; s < end; ++s) {
      const __m128 x = feed(pending[s % kSkew], s < sampleFrames ? source[s] : 0.0f);
      pending[s % kSkew] = maskedStep(c, histories, x, laneValidity(s, sampleFrames));
      emit(s, pending[s % kSkew]);
    }
  };
  maskedSteps(fill < sampleFrames ? fill : steps);
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
  maskedSteps(steps);
  state = histories;
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
