#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "effect/FiniteSignal.h"

namespace {

// Every position of the four-sample steps and of the remainder, for every
// kind of bad sample; the largest, smallest and signed-zero samples pass.
TEST(FiniteSignal, FindsABadSampleAnywhereInTheBlock) {
  using Limits = std::numeric_limits<float>;
  for (VstInt32 length = 1; length <= 11; ++length) {
    std::vector<float> block(length, Limits::max());
    block[0] = -0.0f;
    block[length - 1] = Limits::denorm_min();
    EXPECT_TRUE(allFinite(block.data(), length)) << length;
    for (VstInt32 position = 0; position < length; ++position) {
      for (float bad : {Limits::quiet_NaN(), Limits::infinity(), -Limits::infinity()}) {
        std::vector<float> faulty = block;
        faulty[position] = bad;
        EXPECT_FALSE(allFinite(faulty.data(), length)) << bad << " at " << position << " of " << length;
      }
    }
  }
  EXPECT_TRUE(allFinite(nullptr, 0));
}

}  // namespace
