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
  alignas(16) float values[14][kLanes] = {};
  for (VstInt32 l = 0; l < kLanes; ++l) {
    // Lanes beyond count repeat the last one, so that they compute ordinary numbers.
    const Lane& lane = lanes[l < count ? l : count - 1];
    const float laneValues[] = {lane.section.b0,     lane.section.b1,     lane.section.b2,      lane.section.a1,
                                lane.section.a2,     lane.section.dry,    lane.section.weight,  0.5f,
                                lane.postGain,       lane.scaled ? -1.0f : 0.0f,
                                lane.inputHistory[1], lane.inputHistory[2], lane.outputHistory[1],
                                lane.outputHistory[2]};
    for (int v = 0; v < 14; ++v) values[v][l] = laneValues[v];
  }
  auto vector = [&](int v) { return _mm_load_ps(values[v]); };
  coefficients = {vector(0), vector(1), vector(2), vector(3), vector(4), vector(5), vector(6), vector(7), vector(8),
                  _mm_cmplt_ps(vector(9), _mm_setzero_ps())};
  state = {vector(10), vector(11), vector(12), vector(13)};
}

// y = b0·x + b1·x1 + b2·x2 − a1·y1 − a2·y2 left to right, then 0.5 · ((1 + G)·x + c·y),
// times the post gain in the lanes that end an equaliser.
__m128 PassWavefront::step(const Coefficients& c, Histories& h, __m128 x) {
  const __m128 feedForward =
      _mm_add_ps(_mm_add_ps(_mm_mul_ps(c.b0, x), _mm_mul_ps(c.b1, h.x1)), _mm_mul_ps(c.b2, h.x2));
  const __m128 y = _mm_sub_ps(_mm_sub_ps(feedForward, _mm_mul_ps(c.a1, h.y1)), _mm_mul_ps(c.a2, h.y2));
  h = {x, h.x1, y, h.y1};
  const __m128 mixed = _mm_mul_ps(c.half, _mm_add_ps(_mm_mul_ps(c.dry, x), _mm_mul_ps(c.weight, y)));
  return blend(c.scaled, _mm_mul_ps(c.postGain, mixed), mixed);
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
  // The histories, on the critical path, stay in registers (a copy whose address is not
  // taken); the pending results wait in memory, as the chain through them has slack.
  Histories hot = histories;
  volatile __m128 waiting[kSkew] = {pending[0], pending[1], pending[2], pending[3]};
  for (; s + kSkew <= sampleFrames; s += kSkew) {
    for (VstInt32 j = 0; j < kSkew; ++j) {
      const __m128 results = step(c, hot, feed(waiting[j], source[s + j]));
      waiting[j] = results;
      emit(s + j, results);
    }
  }
  histories = hot;
  for (VstInt32 j = 0; j < kSkew; ++j) pending[j] = waiting[j];
  maskedSteps(steps);
  state = histories;
  storeHistories();
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
