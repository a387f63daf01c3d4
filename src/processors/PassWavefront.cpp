#include "processors/PassWavefront.h"

#include <emmintrin.h>

#include "processors/WavefrontKernel.h"
#if TORVIX_WIDE_WAVEFRONT
#include "processors/WideWavefront.h"
#endif

namespace {

// Four lanes in an SSE2 register.
struct Sse2Lanes {
  using V = __m128;
  static constexpr VstInt32 kCount = PassWavefront::kSse2Lanes;

  static V load(const float* values) { return _mm_load_ps(values); }
  static void store(float* values, V v) { _mm_store_ps(values, v); }
  static V zero() { return _mm_setzero_ps(); }
  static V feed(V earlier, float sample) {
    const V shifted = _mm_castsi128_ps(_mm_slli_si128(_mm_castps_si128(earlier), 4));
    return _mm_move_ss(shifted, _mm_set_ss(sample));
  }
  static V laneMask(VstInt32 l) {
    return _mm_castsi128_ps(_mm_cmpeq_epi32(_mm_set1_epi32(l), _mm_setr_epi32(0, 1, 2, 3)));
  }
  static V blend(V mask, V chosen, V other) {
    return _mm_or_ps(_mm_and_ps(mask, chosen), _mm_andnot_ps(mask, other));
  }
  static V greater(V a, V b) { return _mm_cmpgt_ps(a, b); }
  static V greaterOf(V a, V b) { return _mm_max_ps(a, b); }
};

bool clipsAnything(const HardClip& clip) {
  const HardClip none = HardClip::identity();
  return !(clip.inputGain == none.inputGain && clip.upper == none.upper && clip.lower == none.lower &&
           clip.outputGain == none.outputGain);
}

#if TORVIX_WIDE_WAVEFRONT
// Asked once when the module loads, so that no audio thread waits on a first-use guard.
const bool wideLanesExist = WideWavefront::available();
#endif

}  // namespace

VstInt32 PassWavefront::laneCapacity() {
#if TORVIX_WIDE_WAVEFRONT
  if (wideLanesExist) return WideWavefront::kLanes;
#endif
  return Sse2Lanes::kCount;
}

PassWavefront::PassWavefront(const Lane* lanes, VstInt32 count) : lanes(lanes), count(count) {
  for (VstInt32 l = 0; l < count; ++l) anyClip = anyClip || clipsAnything(lanes[l].clip);
}

void PassWavefront::run(const float* source, const Output* outputs, VstInt32 outputCount,
                        VstInt32 sampleFrames) {
#if TORVIX_WIDE_WAVEFRONT
  if (count > Sse2Lanes::kCount) {
    WideWavefront::run(lanes, count, anyClip, source, outputs, outputCount, sampleFrames);
    return;
  }
#endif
  WavefrontKernel<Sse2Lanes>(lanes, count, anyClip).run(source, outputs, outputCount, sampleFrames);
}
