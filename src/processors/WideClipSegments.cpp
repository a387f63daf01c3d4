// Compiled with AVX2 enabled. The lane type and its operations live in an anonymous
// namespace, so every function instantiated here for them is this file's own, and nothing
// shared with other files is used: no AVX2 copy of a shared function can stand in for
// theirs on a processor without AVX2.
#include "processors/WideClipSegments.h"

#include <immintrin.h>

#include "processors/HardClip.h"

namespace {

struct Float8 {
  __m256 lanes;
};

struct Mask8 {
  __m256 lanes;
};

Float8 operator+(Float8 a, Float8 b) { return {_mm256_add_ps(a.lanes, b.lanes)}; }
Float8 operator-(Float8 a, Float8 b) { return {_mm256_sub_ps(a.lanes, b.lanes)}; }
Float8 operator*(Float8 a, Float8 b) { return {_mm256_mul_ps(a.lanes, b.lanes)}; }
Float8 operator/(Float8 a, Float8 b) { return {_mm256_div_ps(a.lanes, b.lanes)}; }
Float8 operator-(Float8 a) { return {_mm256_xor_ps(a.lanes, _mm256_set1_ps(-0.0f))}; }
Mask8 operator>(Float8 a, Float8 b) { return {_mm256_cmp_ps(a.lanes, b.lanes, _CMP_GT_OQ)}; }
Mask8 operator<(Float8 a, Float8 b) { return {_mm256_cmp_ps(a.lanes, b.lanes, _CMP_LT_OQ)}; }
Float8 select(Mask8 condition, Float8 chosen, Float8 other) {
  return {_mm256_blendv_ps(other.lanes, chosen.lanes, condition.lanes)};
}
// As _mm_max_ps: b when either is NaN or both are zeros.
Float8 greaterOf(Float8 a, Float8 b) { return {_mm256_max_ps(a.lanes, b.lanes)}; }

Float8 load(const float* source) { return {_mm256_loadu_ps(source)}; }
void store(float* destination, Float8 value) { _mm256_storeu_ps(destination, value.lanes); }

}  // namespace

template <>
inline Float8 splat<Float8>(float value) {
  return {_mm256_set1_ps(value)};
}

void WideClipSegments::integrate(const float* gained, float* early, float* late, VstInt32 count, float upper,
                                 float lower, bool line) {
  const Float8 top = splat<Float8>(upper);
  const Float8 bottom = splat<Float8>(lower);
  for (VstInt32 i = 0; i < count; i += kLanes) {
    const Float8 previous = load(gained + i);
    const Float8 x = load(gained + i + 1);
    const ClippedSegment<Float8> segment = line ? lineSegment(previous, x) : clipSegment(previous, x, top, bottom);
    store(early + i, segment.mean - segment.lateMean);
    store(late + i + 1, segment.lateMean);
  }
}
