// Hard clipping with second-order antiderivative anti-aliasing: the clipper's vector path
// against its kernel run one sample at a time, the triangle-weighted clipping it stands for
// against a numerical integral, equal and nearly equal samples, and the block borders.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "ProcessorHarness.h"
#include "processors/HardClip.h"
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

// The kernel's float steps one segment at a time, without the clipper's stretches.
std::vector<float> sampleBySample(const std::vector<float>& input, const Settings& s) {
  const float inputGain = 16.0f * s.preGain;
  std::vector<float> output;
  // The clipper starts as if its input had been held at its first sample.
  float previous = input.front() * inputGain;
  float late = clipSegment(previous, previous, s.clipPositive, -s.clipNegative).lateMean;
  for (const float sample : input) {
    const float x = sample * inputGain;
    const ClippedSegment<float> segment = clipSegment(previous, x, s.clipPositive, -s.clipNegative);
    output.push_back(16.0f * s.postGain * (late + (segment.mean - segment.lateMean)));
    late = segment.lateMean;
    previous = x;
  }
  return output;
}

// The clipping of the line through x0, x1, x2 weighted by a triangle peaking at x1, by the
// midpoint rule in double.
double triangleWeightedClip(double x0, double x1, double x2, double upper, double lower) {
  constexpr int kSteps = 4000;
  double sum = 0.0;
  for (int k = 0; k < kSteps; ++k) {
    const double s = (k + 0.5) / kSteps;
    const double weight = 1.0 - s;
    sum += weight * (std::clamp(x1 + s * (x0 - x1), lower, upper) + std::clamp(x1 + s * (x2 - x1), lower, upper));
  }
  return sum / kSteps;
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

TEST_P(AntiderivativeClip, VectorPathEqualsTheKernelSampleBySample) {
  const std::vector<float> input = testSignal(1003, 0.8f);
  EXPECT_EQ(processWhole(record, input), sampleBySample(input, GetParam()));
}

TEST_P(AntiderivativeClip, UnevenPiecesSingleSamplesAndInPlaceGiveTheWholeBlock) {
  const std::vector<float> input = testSignal(517, 0.8f);
  const std::vector<float> whole = processWhole(record, input);
  clipper.clearSignalState();
  EXPECT_EQ(processInPieces(record, input, {1, 6, 3, 64, 2}), whole);
  clipper.clearSignalState();
  EXPECT_EQ(processInPieces(record, input, {1}), whole);
  clipper.clearSignalState();
  std::vector<float> inPlace = input;
  float* channels[] = {inPlace.data(), inPlace.data()};
  record.processReplacing(&record, channels, channels, static_cast<VstInt32>(inPlace.size()));
  EXPECT_EQ(inPlace, whole);
}

// Each output is the clipping of the line through the samples around the one before it.
TEST_P(AntiderivativeClip, GivesTheTriangleWeightedClippingOfTheLineThroughTheSamples) {
  const Settings s = GetParam();
  const std::vector<float> input = testSignal(2000, 0.8f);
  const std::vector<float> output = processWhole(record, input);
  const double inputGain = static_cast<float>(16.0f * s.preGain);
  const double outputGain = 16.0 * s.postGain;
  const double scale = outputGain * std::max(s.clipPositive, s.clipNegative);
  std::vector<double> gained;
  for (const float sample : input) gained.push_back(static_cast<float>(sample * static_cast<float>(inputGain)));
  gained.insert(gained.begin(), 2, gained.front());
  for (std::size_t i = 1; i < input.size(); ++i) {
    const double expected =
        outputGain * triangleWeightedClip(gained[i], gained[i + 1], gained[i + 2], s.clipPositive, -s.clipNegative);
    ASSERT_NEAR(output[i], expected, 2e-5 * scale) << i;
  }
}

INSTANTIATE_TEST_SUITE_P(ZrClipper, AntiderivativeClip,
                         testing::Values(Settings{0.0625f, 0.5f, 0.5f, 0.0625f},
                                         Settings{4.0f, 0.3f, 0.3f, 0.1f},
                                         Settings{1.0f, 0.2f, 0.6f, 0.0625f},
                                         Settings{0.05f, 2.0f, 2.0f, 0.0625f},
                                         Settings{0.5f, 0.0f, 0.4f, 0.0625f}));

// Inside the limits the clipping is the line itself, so the triangle gives
// (x0 + 4 x1 + x2) / 6: a gentle low-pass, one sample late, after the first sample held.
TEST(ZrClipperAntiderivative, InsideTheLimitsSmoothsByOneSixthFourSixthsOneSixth) {
  ZrClipper clipper{oneChannelHost};
  clipper.setAntiderivative(true);
  const std::vector<float> output = processWhole(*clipper.getAeffect(), {0.06f, -0.12f, 0.3f, 0.0f, 0.0f});
  const std::vector<double> expected{0.06, (5 * 0.06 - 0.12) / 6, (0.06 - 4 * 0.12 + 0.3) / 6,
                                     (-0.12 + 4 * 0.3) / 6, 0.3 / 6};
  for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_NEAR(output[i], expected[i], 1e-7) << i;
}

struct NearlyEqual {
  float previous;
  float x;
};

// Equal and nearly equal neighbours, inside, beyond and at the limits, and across zero:
// their step crosses the limits far outside the segment, so the line is clipped as a whole
// and a run of them gives the clipping of their level, with no 0 / 0 on the way.
class NearlyEqualSamples : public testing::TestWithParam<NearlyEqual> {};

TEST_P(NearlyEqualSamples, GiveTheClippingOfTheirLevel) {
  ZrClipper clipper{oneChannelHost};
  AEffect& record = *clipper.getAeffect();
  record.setParameter(&record, kPreGain, 0.0625f);
  record.setParameter(&record, kClipPositive, 0.5f);
  record.setParameter(&record, kClipNegative, 0.5f);
  clipper.setAntiderivative(true);
  const auto [previous, x] = GetParam();
  const std::vector<float> output = processWhole(record, {previous, previous, x, x, x});
  const double level = std::clamp(0.5 * (double(previous) + double(x)), -0.5, 0.5);
  for (const float sample : output) EXPECT_TRUE(std::isfinite(sample));
  EXPECT_NEAR(output[2], level, 1e-6);
  EXPECT_NEAR(output[3], std::clamp(x, -0.5f, 0.5f), 1e-6);
  EXPECT_EQ(output[4], std::clamp(x, -0.5f, 0.5f));
}

INSTANTIATE_TEST_SUITE_P(ZrClipper, NearlyEqualSamples,
                         testing::Values(NearlyEqual{0.25f, 0.25f}, NearlyEqual{0.9f, 0.9f},
                                         NearlyEqual{-3.0f, -3.0f}, NearlyEqual{0.5f, 0.5f},
                                         NearlyEqual{-0.5f, -0.5f}, NearlyEqual{0.499999f, 0.500001f},
                                         NearlyEqual{0.3f, 0.300001f}, NearlyEqual{-0.5000005f, -0.4999995f},
                                         NearlyEqual{-1e-7f, 1e-7f}, NearlyEqual{0.0f, 0.0f}));

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
