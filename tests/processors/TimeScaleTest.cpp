#include <gtest/gtest.h>

#include <cctype>
#include <limits>
#include <string>

#include "processors/TimeScale.h"

namespace {

struct ScaleCase {
  const char* name;
  TimeScale scale;
  float runRate;
  float referenceRate;
  double factor;
  VstInt32 count;
  VstInt32 samples;
  VstInt32 storage;
};

// Storage is sized for the highest host rate: 192 kHz times the factor over the named rate.
const ScaleCase kScaleCases[] = {
    {"raw at 96 kHz", TimeScale(), 96000.0f, 96000.0f, 1.0, 2048, 2048, 2048},
    {"raw, factor 1, no rate", TimeScale(1, 0.0f), 705600.0f, 705600.0f, 1.0, 44, 44, 44},
    {"4x, no rate", TimeScale(4, 0.0f), 176400.0f, 44100.0f, 4.0, 44, 176, 176},
    {"16x at 48 kHz, no rate", TimeScale(16, 0.0f), 768000.0f, 48000.0f, 16.0, 100, 1600, 1600},
    {"44.1 kHz named, run at 44.1 kHz", TimeScale(1, 44100.0f), 44100.0f, 44100.0f, 1.0, 4851, 4851, 21121},
    {"44.1 kHz named, run at 96 kHz", TimeScale(1, 44100.0f), 96000.0f, 44100.0f, 96000.0 / 44100.0, 4851,
     10560, 21121},
    {"44.1 kHz named, 4x at 48 kHz", TimeScale(4, 44100.0f), 192000.0f, 44100.0f, 192000.0 / 44100.0, 2048,
     8916, 35666},
    {"storage held to 128 times", TimeScale(16, 1000.0f), 768000.0f, 1000.0f, 768.0, 100, 76800, 12800},
    {"a higher named rate shrinks counts", TimeScale(1, 96000.0f), 48000.0f, 96000.0f, 0.5, 101, 51, 202},
};

class TimeScaleCases : public ::testing::TestWithParam<ScaleCase> {};

TEST_P(TimeScaleCases, CountsAtTheRunRate) {
  const ScaleCase& c = GetParam();
  EXPECT_FLOAT_EQ(c.scale.referenceRate(c.runRate), c.referenceRate);
  EXPECT_DOUBLE_EQ(c.scale.factor(c.runRate), c.factor);
  EXPECT_EQ(c.scale.samplesAt(c.count, c.runRate), c.samples);
  EXPECT_EQ(c.scale.storageFor(c.count), c.storage);
}

INSTANTIATE_TEST_SUITE_P(TimeScale, TimeScaleCases, ::testing::ValuesIn(kScaleCases),
                         [](const ::testing::TestParamInfo<ScaleCase>& info) {
                           std::string name;
                           for (const char* c = info.param.name; *c; ++c) name += std::isalnum(*c) ? *c : '_';
                           return name;
                         });

TEST(TimeScale, RawOnlyWithoutFactorAndRate) {
  EXPECT_TRUE(TimeScale().isRaw());
  EXPECT_TRUE(TimeScale(1, 0.0f).isRaw());
  EXPECT_FALSE(TimeScale(2, 0.0f).isRaw());
  EXPECT_FALSE(TimeScale(1, 44100.0f).isRaw());
}

TEST(TimeScale, HugeCountsAreHeldToTheIntegerRange) {
  const TimeScale scale(16, 1000.0f);
  EXPECT_EQ(scale.samplesAt(std::numeric_limits<VstInt32>::max(), 768000.0f),
            std::numeric_limits<VstInt32>::max());
  EXPECT_EQ(scale.samplesAt(0, 768000.0f), 0);
}

}  // namespace
