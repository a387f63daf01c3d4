// Hard clipping with first-order antiderivative anti-aliasing: the clipper's vector path
// against a straightforward form sample by sample, the mean of the clipping it stands for,
// nearly equal samples, and the block borders.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "ProcessorHarness.h"
#include "processors/ZrClipper.h"
#include "support/OneChannelHost.h"

namespace {

enum : VstInt32 { kPreGain, kClipPositive, kClipNegative, kPostGain, kAverageTime };

struct Settings {
  float preGain;
  float clipPositive;
  float clipNegative;
  float postGain;
};

// The clipping of one sample after another as written out, one sample at a time with a
// branch, in the same float steps as the clipper's kernel.
float straightforward(float previous, float x, float upper, float lower) {
  const auto clip = [&](float v) { return v > upper ? upper : std::max(lower, v); };
  const float a = clip(previous);
  const float b = clip(x);
  const float beyondPrevious = previous - a;
  const float beyondChange = (x - b) - beyondPrevious;
  const float run = (b - a) + beyondChange;
  if (std::fabs(run) < 1.0e-5f) return clip(0.5f * (x + previous));
  return ((b - a) * ((b + a) * 0.5f + beyondPrevious) + b * beyondChange) / run;
}

std::vector<float> reference(const std::vector<float>& input, const Settings& s) {
  const float inputGain = 16.0f * s.preGain;
  std::vector<float> output;
  float previous = 0.0f;
  for (float sample : input) {
    const float x = sample * inputGain;
    output.push_back(16.0f * s.postGain * straightforward(previous, x, s.clipPositive, -s.clipNegative));
    previous = x;
  }
  return output;
}

// The mean of the clipping over [x0, x1] from its antiderivative, in double.
double exactMean(double x0, double x1, double upper, double lower) {
  const auto antiderivative = [&](double x) {
    if (x > upper) return upper * x - upper * upper / 2.0;
    if (x < lower) return lower * x - lower * lower / 2.0;
    return x * x / 2.0;
  };
  const auto clip = [&](double x) { return std::clamp(x, lower, upper); };
  if (x0 == x1) return clip(x0);
  return (antiderivative(x1) - antiderivative(x0)) / (x1 - x0);
}

class AntiderivativeClip : public testing::TestWithParam<Settings> {
 protected:
  void SetUp() override {
    const Settings s = GetParam();
    record.setParameter(&record, kPreGain, s.preGain);
    record.setParameter(&record, kClipPositive, s.clipPositive);
    record.setParameter(&record, kClipNegative, s.clipNegative);
    record.setParameter(&record, kPostGain, s.postGain);
    clipper.setAntiderivative(true);
  }

  ZrClipper clipper{oneChannelHost};
  AEffect& record = *clipper.getAeffect();
};

TEST_P(AntiderivativeClip, VectorPathEqualsTheStraightforwardForm) {
  const std::vector<float> input = testSignal(1003, 0.8f);
  EXPECT_EQ(processWhole(record, input), reference(input, GetParam()));
}

TEST_P(AntiderivativeClip, UnevenPiecesAndSingleSamplesGiveTheWholeBlock) {
  const std::vector<float> input = testSignal(517, 0.8f);
  const std::vector<float> whole = processWhole(record, input);
  clipper.clearSignalState();
  EXPECT_EQ(processInPieces(record, input, {1, 6, 3, 64, 2}), whole);
  clipper.clearSignalState();
  EXPECT_EQ(processInPieces(record, input, {1}), whole);
}

TEST_P(AntiderivativeClip, GivesTheMeanOfTheClippingBetweenSamples) {
  const Settings s = GetParam();
  const std::vector<float> input = testSignal(2000, 0.8f);
  const std::vector<float> output = processWhole(record, input);
  const double inputGain = 16.0 * s.preGain;
  const double outputGain = 16.0 * s.postGain;
  const double scale = outputGain * std::max(s.clipPositive, s.clipNegative);
  double previous = 0.0;
  for (std::size_t i = 0; i < input.size(); ++i) {
    const double x = static_cast<float>(input[i] * static_cast<float>(inputGain));
    const double expected = outputGain * exactMean(previous, x, s.clipPositive, -s.clipNegative);
    ASSERT_NEAR(output[i], expected, 2e-5 * scale) << i;
    previous = x;
  }
}

INSTANTIATE_TEST_SUITE_P(ZrClipper, AntiderivativeClip,
                         testing::Values(Settings{0.0625f, 0.5f, 0.5f, 0.0625f},
                                         Settings{4.0f, 0.3f, 0.3f, 0.1f},
                                         Settings{1.0f, 0.2f, 0.6f, 0.0625f},
                                         Settings{0.05f, 2.0f, 2.0f, 0.0625f},
                                         Settings{0.5f, 0.0f, 0.4f, 0.0625f}));

struct NearlyEqual {
  float previous;
  float x;
};

// Equal and nearly equal neighbours, inside, beyond and across the limits, and across zero:
// the quotient of two tiny differences would be rounding (or 0 / 0); the clipping of their
// mean is the limit it stands for.
class NearlyEqualSamples : public testing::TestWithParam<NearlyEqual> {};

TEST_P(NearlyEqualSamples, TakeTheClippingOfTheirMean) {
  ZrClipper clipper{oneChannelHost};
  AEffect& record = *clipper.getAeffect();
  record.setParameter(&record, kPreGain, 0.0625f);
  record.setParameter(&record, kClipPositive, 0.5f);
  record.setParameter(&record, kClipNegative, 0.5f);
  clipper.setAntiderivative(true);
  const auto [previous, x] = GetParam();
  const std::vector<float> output = processWhole(record, {previous, x, x});
  const double mean = std::clamp(0.5 * (double(previous) + double(x)), -0.5, 0.5);
  EXPECT_TRUE(std::isfinite(output[1]));
  EXPECT_NEAR(output[1], mean, 1e-7);
  EXPECT_EQ(output[2], std::clamp(x, -0.5f, 0.5f));
}

INSTANTIATE_TEST_SUITE_P(ZrClipper, NearlyEqualSamples,
                         testing::Values(NearlyEqual{0.25f, 0.25f}, NearlyEqual{0.9f, 0.9f},
                                         NearlyEqual{-3.0f, -3.0f}, NearlyEqual{0.5f, 0.5f},
                                         NearlyEqual{0.499999f, 0.500001f}, NearlyEqual{0.3f, 0.300001f},
                                         NearlyEqual{-0.5000005f, -0.4999995f}, NearlyEqual{-1e-7f, 1e-7f},
                                         NearlyEqual{0.0f, 0.0f}));

TEST(ZrClipperAntiderivative, OffByDefaultAndOffForTheLimiter) {
  ZrClipper plain{oneChannelHost}, smoothed{oneChannelHost};
  EXPECT_TRUE(plain.clipsAsHardClip());
  smoothed.setAntiderivative(true);
  EXPECT_FALSE(smoothed.clipsAsHardClip());
  const std::vector<float> input = testSignal(300, 4.0f);
  AEffect& plainRecord = *plain.getAeffect();
  AEffect& smoothedRecord = *smoothed.getAeffect();
  EXPECT_NE(processWhole(smoothedRecord, input), processWhole(plainRecord, input));
  for (AEffect* record : {&plainRecord, &smoothedRecord}) record->setParameter(record, kAverageTime, 1.0f);
  EXPECT_EQ(processWhole(smoothedRecord, input), processWhole(plainRecord, input));
}

TEST(ZrClipperAntiderivative, ClearingForgetsThePreviousSample) {
  ZrClipper clipper{oneChannelHost};
  clipper.setAntiderivative(true);
  AEffect& record = *clipper.getAeffect();
  const std::vector<float> input = testSignal(40, 2.0f);
  const std::vector<float> first = processWhole(record, input);
  processWhole(record, testSignal(17, 3.0f));
  clipper.clearSignalState();
  EXPECT_EQ(processWhole(record, input), first);
}

// A lower limit above the upper makes clipping a step, which has no continuous
// antiderivative: such a clipper clips as it does without.
TEST(ZrClipperAntiderivative, CrossedLimitsClipAsWithout) {
  ZrClipper plain{oneChannelHost}, smoothed{oneChannelHost};
  smoothed.setAntiderivative(true);
  for (ZrClipper* clipper : {&plain, &smoothed}) {
    AEffect& record = *clipper->getAeffect();
    record.setParameter(&record, kClipPositive, -0.4f);
    record.setParameter(&record, kClipNegative, -0.2f);
  }
  const std::vector<float> input = testSignal(100, 1.0f);
  EXPECT_EQ(processWhole(*smoothed.getAeffect(), input), processWhole(*plain.getAeffect(), input));
}

}  // namespace
