// How a half-band stage reads a register's four lanes from its input and writes them back, in
// each direction: two samples at the lower rate at a time (count 2), or one in the register's
// lower half (count 1). Included by the SSE2 and the AVX2 forms of the stage; the anonymous
// namespace gives each file its own copy, so neither can stand in for the other.
#pragma once

#include <emmintrin.h>

#include "frame/VstInterface.h"

namespace {

// Zero-stuffing and filtering by 2 H(z): the even outputs are A0 of the input, the odd ones
// A1 of it, so both chains take [x[n], x[n], x[n+1], x[n+1]].
struct Upsampling {
  const float* in;
  float* out;

  __m128 load(VstInt32 i, int count) const {
    const __m128 pair = count == 2 ? _mm_loadl_pi(_mm_setzero_ps(), reinterpret_cast<const __m64*>(in + i))
                                   : _mm_load_ss(in + i);
    return _mm_unpacklo_ps(pair, pair);
  }
  void store(VstInt32 i, int count, __m128 result) const {
    if (count == 2) {
      _mm_storeu_ps(out + 2 * i, result);
    } else {
      _mm_storel_pi(reinterpret_cast<__m64*>(out + 2 * i), result);
    }
  }
};

// H(z) kept at the odd phase: A1 takes the even inputs, A0 the odd ones; the output is half
// the sum of the two.
struct Downsampling {
  const float* in;
  float* out;

  __m128 load(VstInt32 i, int count) const {
    return count == 2 ? _mm_loadu_ps(in + 2 * i)
                      : _mm_loadl_pi(_mm_setzero_ps(), reinterpret_cast<const __m64*>(in + 2 * i));
  }
  void store(VstInt32 i, int count, __m128 result) const {
    const __m128 sums = _mm_add_ps(result, _mm_shuffle_ps(result, result, _MM_SHUFFLE(2, 3, 0, 1)));
    const __m128 halves = _mm_mul_ps(_mm_set1_ps(0.5f), sums);
    if (count == 2) {
      _mm_storel_pi(reinterpret_cast<__m64*>(out + i), _mm_shuffle_ps(halves, halves, _MM_SHUFFLE(2, 0, 2, 0)));
    } else {
      _mm_store_ss(out + i, halves);
    }
  }
};

}  // namespace
