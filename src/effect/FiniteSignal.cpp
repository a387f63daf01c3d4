#include "effect/FiniteSignal.h"

#include <array>
#include <type_traits>

#include "processors/Float4.h"

// x - x is 0 for every finite x and NaN for infinities and NaNs; a sum of
// such differences stays 0 until one is NaN, and then stays NaN.
bool allFinite(const float* samples, VstInt32 count) {
  Float4 sums = splat<Float4>(0.0f);
  float sum = 0.0f;
  forEachSample(count, [&]<typename Samples>(VstInt32 i) {
    const Samples x = loadSamples<Samples>(samples + i);
    if constexpr (std::is_same_v<Samples, Float4>) {
      sums = sums + (x - x);
    } else {
      sum = sum + (x - x);
    }
  });
  std::array<float, 4> lanes;
  storeSamples(lanes.data(), sums);
  return sum == 0.0f && lanes[0] == 0.0f && lanes[1] == 0.0f && lanes[2] == 0.0f && lanes[3] == 0.0f;
}
