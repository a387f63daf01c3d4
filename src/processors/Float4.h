// Four float32 samples in one SSE register, and the same operations on a single float, so
// that a sample loop written once runs four samples at a time and its remainder one at a
// time with the same float32 operations in the same order: both give the same bits.
// SSE2 is on every target (the 32-bit Windows build is compiled with -msse2 -mfpmath=sse).
#pragma once

#include <emmintrin.h>

#include "frame/VstInterface.h"

struct Float4 {
  __m128 lanes;
};

// All ones in a lane where a comparison holds, zero where it does not.
struct Mask4 {
  __m128 lanes;
};

inline Float4 operator+(Float4 a, Float4 b) { return {_mm_add_ps(a.lanes, b.lanes)}; }
inline Float4 operator-(Float4 a, Float4 b) { return {_mm_sub_ps(a.lanes, b.lanes)}; }
inline Float4 operator*(Float4 a, Float4 b) { return {_mm_mul_ps(a.lanes, b.lanes)}; }
inline Float4 operator/(Float4 a, Float4 b) { return {_mm_div_ps(a.lanes, b.lanes)}; }
// A sign flip, exact like the scalar negation.
inline Float4 operator-(Float4 a) { return {_mm_xor_ps(a.lanes, _mm_set1_ps(-0.0f))}; }
inline Mask4 operator>(Float4 a, Float4 b) { return {_mm_cmpgt_ps(a.lanes, b.lanes)}; }
inline Mask4 operator<(Float4 a, Float4 b) { return {_mm_cmplt_ps(a.lanes, b.lanes)}; }

inline Float4 select(Mask4 condition, Float4 chosen, Float4 other) {
  return {_mm_or_ps(_mm_and_ps(condition.lanes, chosen.lanes), _mm_andnot_ps(condition.lanes, other.lanes))};
}
inline float select(bool condition, float chosen, float other) { return condition ? chosen : other; }
// a > b ? a : b, as the SSE instruction does it: b when either is NaN or both are zeros.
inline Float4 greaterOf(Float4 a, Float4 b) { return {_mm_max_ps(a.lanes, b.lanes)}; }
inline float greaterOf(float a, float b) { return a > b ? a : b; }

template <typename Samples>
Samples splat(float value);
template <>
inline float splat<float>(float value) {
  return value;
}
template <>
inline Float4 splat<Float4>(float value) {
  return {_mm_set1_ps(value)};
}

template <typename Samples>
Samples loadSamples(const float* source);
template <>
inline float loadSamples<float>(const float* source) {
  return *source;
}
template <>
inline Float4 loadSamples<Float4>(const float* source) {
  return {_mm_loadu_ps(source)};
}

inline void storeSamples(float* destination, float value) { *destination = value; }
inline void storeSamples(float* destination, Float4 value) { _mm_storeu_ps(destination, value.lanes); }

// Calls kernel.operator()<Float4>(i) for i = 0, 4, 8 ... while four samples remain, then
// kernel.operator()<float>(i) for each remaining sample. Within one call the kernel must
// read sample i before it writes sample i, so that in-place use works.
template <typename Kernel>
inline void forEachSample(VstInt32 count, Kernel&& kernel) {
  VstInt32 i = 0;
  for (; i + 4 <= count; i += 4) kernel.template operator()<Float4>(i);
  for (; i < count; ++i) kernel.template operator()<float>(i);
}

// Whether low < x < high for each of count samples: false where one is NaN.
inline bool allBetween(const float* samples, VstInt32 count, float low, float high) {
  const __m128 lows = _mm_set1_ps(low);
  const __m128 highs = _mm_set1_ps(high);
  __m128 inside = _mm_cmpeq_ps(lows, lows);
  VstInt32 i = 0;
  for (; i + 4 <= count; i += 4) {
    const __m128 x = _mm_loadu_ps(samples + i);
    inside = _mm_and_ps(inside, _mm_and_ps(_mm_cmpgt_ps(x, lows), _mm_cmplt_ps(x, highs)));
  }
  bool rest = _mm_movemask_ps(inside) == 0xf;
  for (; i < count; ++i) rest &= (samples[i] > low) & (samples[i] < high);
  return rest;
}

