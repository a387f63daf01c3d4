// The engine flushes subnormal numbers to zero while it processes and leaves the caller's
// floating-point control register as it found it.
#include <gtest/gtest.h>
#include <xmmintrin.h>

#include <cmath>
#include <memory>
#include <vector>

#include "ArchiveTest.h"
#include "effect/VelkoranWin.h"
#include "platform/DenormalGuard.h"
#include "support/SameSamples.h"

namespace {

// A low shelf whose recursion, y = t * y1 with t = 0.983, has a fixed point among the
// subnormal numbers (about 29 times the smallest one) unless they are flushed.
class DenormalFlushTest : public ArchiveTest {
 protected:
  void SetUp() override {
    ArchiveTest::SetUp();
    writeArchive("a.zip", {{"shelf.xml", R"(<torvix><fx id="shelf" type="eq"/></torvix>)"},
                           {"shelf.fxp", fxpBytes(7, {0.0f, 0.0f, 0.15f, 0.017f, 0.95f, 0.4f, 1.0f})}});
    engine = std::make_unique<VelkoranWin>();
  }

  std::vector<float> play(std::vector<float> input) {
    std::vector<float> output(input.size(), 5.0f);
    float* inputs[] = {input.data()};
    float* outputs[] = {output.data()};
    engine->processReplacing(inputs, outputs, static_cast<VstInt32>(input.size()));
    return output;
  }

  std::unique_ptr<VelkoranWin> engine;
};

TEST_F(DenormalFlushTest, SilenceAfterLoudPlayingComesOutAsExactZerosWithoutSubnormals) {
  play(randomSignal(4096, 1));
  std::vector<float> tail;
  bool subnormal = false;
  for (int block = 0; block < 20; ++block) {
    tail = play(std::vector<float>(4096, 0.0f));
    for (float sample : tail) subnormal = subnormal || std::fpclassify(sample) == FP_SUBNORMAL;
  }
  EXPECT_FALSE(subnormal);
  EXPECT_TRUE(sameSamples(std::vector<float>(tail.size(), 0.0f), tail));
}

TEST_F(DenormalFlushTest, ProcessingLeavesTheCallersControlRegisterUnchanged) {
  const unsigned int callerState = _mm_getcsr();
  // A caller that keeps subnormals, rounds toward zero and has a sticky inexact flag.
  const unsigned int hostState = (callerState & ~(_MM_FLUSH_ZERO_ON | _MM_DENORMALS_ZERO_ON | _MM_ROUND_MASK)) |
                                 _MM_ROUND_TOWARD_ZERO | _MM_EXCEPT_INEXACT;
  _mm_setcsr(hostState);
  play(randomSignal(1000, 2));
  const unsigned int after = _mm_getcsr();
  _mm_setcsr(callerState);
  EXPECT_EQ(after, hostState);
}

TEST(DenormalGuard, FlushesSubnormalResultsAndInputsOnlyWhileItLives) {
  volatile float smallestNormal = 1.17549435e-38f;
  volatile float half = 0.5f;
  volatile float subnormal = 1e-40f;
  {
    const platform::DenormalGuard guard;
    EXPECT_EQ(smallestNormal * half, 0.0f);
    EXPECT_EQ(subnormal + 0.0f, 0.0f);
    EXPECT_EQ(smallestNormal * 2.0f, 2.0f * 1.17549435e-38f);
  }
  EXPECT_GT(smallestNormal * half, 0.0f);
}

}  // namespace
