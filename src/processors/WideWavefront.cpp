// Compiled with AVX2 enabled. The lane type lives in an anonymous namespace, so everything
// instantiated here is this file's own: no AVX2 copy of a function other files share can
// stand in for theirs on a processor without AVX2.
#include "processors/WideWavefront.h"

#include <immintrin.h>

#include "processors/WavefrontKernel.h"

namespace {

// Eight lanes in an AVX2 register.
struct Avx2Lanes {
  using V = __m256;
  static constexpr VstInt32 kCount = 8;

  static V load(const float* values) { return _mm256_load_ps(values); }
  static void store(float* values, V v) { _mm256_store_ps(values, v); }
  static V zero() { return _mm256_setzero_ps(); }
  static V feed(V earlier, float sample) {
    const V shifted = _mm256_permutevar8x32_ps(earlier, _mm256_setr_epi32(0, 0, 1, 2, 3, 4, 5, 6));
    return _mm256_blend_ps(shifted, _mm256_set1_ps(sample), 0x01);
  }
  static V laneMask(VstInt32 l) {
    return _mm256_castsi256_ps(_mm256_cmpeq_epi32(_mm256_set1_epi32(l), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7)));
  }
  static V blend(V mask, V chosen, V other) { return _mm256_blendv_ps(other, chosen, mask); }
  static V greater(V a, V b) { return _mm256_cmp_ps(a, b, _CMP_GT_OQ); }
  static V greaterOf(V a, V b) { return _mm256_max_ps(a, b); }
};

}  // namespace

bool WideWavefront::available() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2");
}

void WideWavefront::run(const PassWavefront::Lane* lanes, VstInt32 count, bool anyClip, const float* source,
                        const PassWavefront::Output* outputs, VstInt32 outputCount, VstInt32 sampleFrames) {
  WavefrontKernel<Avx2Lanes>(lanes, count, anyClip).run(source, outputs, outputCount, sampleFrames);
}
