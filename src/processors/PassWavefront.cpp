#include "processors/PassWavefront.h"

namespace {

__m128 gather(const float* first, VstInt32 stride) {
  return _mm_setr_ps(first[0], first[stride], first[2 * stride], first[3 * stride]);
}

__m128 blend(__m128 mask, __m128 chosen, __m128 other) {
  return _mm_or_ps(_mm_and_ps(mask, chosen), _mm_andnot_ps(mask, other));
}

// The inputs of a step: lane 0 takes the next source sample, lane l what lane l - 1 gave
// kSkew steps ago.
__m128 feed(__m128 earlier, float sample) {
  const __m128 shifted = _mm_castsi128_ps(_mm_slli_si128(_mm_castps_si128(earlier), 4));
  return _mm_move_ss(shifted, _mm_set_ss(sample));
}

float lane(__m128 values, VstInt32 index) {
  alignas(16) float lanes[PassWavefront::kLanes];
  _mm_store_ps(lanes, values);
  return lanes[index];
}

}  // namespace

PassWavefront::PassWavefront(const Section& section, const Histories& histories, VstInt32 passes)
    : c{_mm_set1_ps(section.b0), _mm_set1_ps(section.b1),  _mm_set1_ps(section.b2),
        _mm_set1_ps(section.a1), _mm_set1_ps(section.a2),  _mm_set1_ps(section.dry),
        _mm_set1_ps(section.weight), _mm_set1_ps(0.5f)},
      histories(histories),
      passes(passes) {
  const float* input = histories.first + histories.inputOffset;
  x1 = gather(input + 1, histories.stride);
  x2 = gather(input + 2, histories.stride);
  y1 = gather(histories.first + 1, histories.stride);
  y2 = gather(histories.first + 2, histories.stride);
}

// y = b0·x + b1·x1 + b2·x2 − a1·y1 − a2·y2 left to right, then 0.5 · ((1 + G)·x + c·y).
__m128 PassWavefront::step(__m128 x) {
  const __m128 feedForward =
      _mm_add_ps(_mm_add_ps(_mm_mul_ps(c.b0, x), _mm_mul_ps(c.b1, x1)), _mm_mul_ps(c.b2, x2));
  const __m128 y = _mm_sub_ps(_mm_sub_ps(feedForward, _mm_mul_ps(c.a1, y1)), _mm_mul_ps(c.a2, y2));
  x2 = x1;
  x1 = x;
  y2 = y1;
  y1 = y;
  return _mm_mul_ps(c.half, _mm_add_ps(_mm_mul_ps(c.dry, x), _mm_mul_ps(c.weight, y)));
}

// A step in which only the valid lanes advance their histories; the others keep theirs.
__m128 PassWavefront::maskedStep(__m128 x, __m128 valid) {
  const __m128 kept[] = {x1, x2, y1, y2};
  const __m128 mixed = step(x);
  x1 = blend(valid, x1, kept[0]);
  x2 = blend(valid, x2, kept[1]);
  y1 = blend(valid, y1, kept[2]);
  y2 = blend(valid, y2, kept[3]);
  return mixed;
}

// Lane l is valid at a step when it is one of the passes and its sample lies in the block.
__m128 PassWavefront::laneValidity(VstInt32 step, VstInt32 sampleFrames) const {
  const __m128i sample = _mm_sub_epi32(_mm_set1_epi32(step), _mm_setr_epi32(0, kSkew, 2 * kSkew, 3 * kSkew));
  const __m128i inBlock = _mm_and_si128(_mm_cmpgt_epi32(sample, _mm_set1_epi32(-1)),
                                        _mm_cmplt_epi32(sample, _mm_set1_epi32(sampleFrames)));
  const __m128i isPass = _mm_cmpgt_epi32(_mm_set1_epi32(passes), _mm_setr_epi32(0, 1, 2, 3));
  return _mm_castsi128_ps(_mm_and_si128(inBlock, isPass));
}

// Steps whose lanes are all valid run unmasked four at a time, with the four pending
// results in registers; the steps at either end of the block, where the wavefront fills
// and drains, run masked. A lane's invalid results only ever feed invalid lanes.
template <bool scaled>
void PassWavefront::run(const float* source, float* destination, VstInt32 sampleFrames, float outputGain) {
  const VstInt32 last = passes - 1;
  const VstInt32 fill = kSkew * last;
  const VstInt32 steps = sampleFrames + fill;
  auto emit = [&](VstInt32 step, __m128 mixed) {
    const float value = lane(mixed, last);
    destination[step - fill] = scaled ? outputGain * value : value;
  };
  __m128 pending[kSkew] = {};
  VstInt32 s = 0;
  auto maskedSteps = [&](VstInt32 end) {
    for (; s < end; ++s) {
      const __m128 x = feed(pending[s % kSkew], s < sampleFrames ? source[s] : 0.0f);
      pending[s % kSkew] = maskedStep(x, laneValidity(s, sampleFrames));
      if (s >= fill) emit(s, pending[s % kSkew]);
    }
  };
  maskedSteps(fill < sampleFrames ? fill : steps);
  __m128 p0 = pending[0], p1 = pending[1], p2 = pending[2], p3 = pending[3];
  static_assert(kSkew == 4, "the unrolled steps hold kSkew pending results");
  for (; s + kSkew <= sampleFrames; s += kSkew) {
    p0 = step(feed(p0, source[s]));
    emit(s, p0);
    p1 = step(feed(p1, source[s + 1]));
    emit(s + 1, p1);
    p2 = step(feed(p2, source[s + 2]));
    emit(s + 2, p2);
    p3 = step(feed(p3, source[s + 3]));
    emit(s + 3, p3);
  }
  pending[0] = p0, pending[1] = p1, pending[2] = p2, pending[3] = p3;
  maskedSteps(steps);
  storeHistories();
}

template void PassWavefront::run<false>(const float*, float*, VstInt32, float);
template void PassWavefront::run<true>(const float*, float*, VstInt32, float);

// After a block every valid lane has taken its last sample, so its current input equals the
// input one sample back, as the scalar pass leaves it.
void PassWavefront::storeHistories() const {
  alignas(16) float values[4][kLanes];
  _mm_store_ps(values[0], x1);
  _mm_store_ps(values[1], x2);
  _mm_store_ps(values[2], y1);
  _mm_store_ps(values[3], y2);
  for (VstInt32 l = 0; l < passes; ++l) {
    float* output = histories.first + l * histories.stride;
    float* input = output + histories.inputOffset;
    input[0] = values[0][l];
    input[1] = values[0][l];
    input[2] = values[1][l];
    output[1] = values[2][l];
    output[2] = values[3][l];
  }
}
