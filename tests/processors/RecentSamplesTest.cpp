// The ring of a stream's last samples: what it keeps of runs of any length, in order.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

#include "processors/RecentSamples.h"

namespace {

std::vector<float> ramp(std::size_t length) {
  std::vector<float> samples(length);
  for (std::size_t i = 0; i < length; ++i) samples[i] = static_cast<float>(i + 1);
  return samples;
}

std::vector<float> kept(const RecentSamples& recent) {
  std::vector<float> samples;
  recent.visit([&samples](const float* run, VstInt32 count) { samples.insert(samples.end(), run, run + count); });
  return samples;
}

// The last kCapacity samples of a stream, silence before it.
std::vector<float> lastOf(const std::vector<float>& stream) {
  std::vector<float> expected(RecentSamples::kCapacity, 0.0f);
  const std::size_t capacity = expected.size();
  const std::size_t taken = std::min(stream.size(), capacity);
  std::copy(stream.end() - static_cast<std::ptrdiff_t>(taken), stream.end(), expected.end() - static_cast<std::ptrdiff_t>(taken));
  return expected;
}

struct Runs {
  const char* name;
  std::vector<VstInt32> lengths;
};

class RecentSamplesRuns : public ::testing::TestWithParam<Runs> {};

TEST_P(RecentSamplesRuns, KeepTheLastSamplesInOrder) {
  std::vector<float> stream;
  RecentSamples recent;
  for (const VstInt32 length : GetParam().lengths) {
    const std::vector<float> run = ramp(static_cast<std::size_t>(length));
    std::vector<float> offset = run;
    for (float& sample : offset) sample += static_cast<float>(stream.size());
    recent.append(offset.data(), length);
    stream.insert(stream.end(), offset.begin(), offset.end());
    ASSERT_EQ(kept(recent), lastOf(stream)) << stream.size();
  }
}

INSTANTIATE_TEST_SUITE_P(RecentSamples, RecentSamplesRuns,
                         ::testing::Values(Runs{"single", {1, 1, 1}}, Runs{"uneven", {300, 77, 1, 200, 511}},
                                           Runs{"exactlyFull", {512, 512}}, Runs{"longer", {5000, 3}},
                                           Runs{"wrapping", {500, 100, 1000, 13}}, Runs{"empty", {0, 5, 0}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RecentSamples, AreSilentUntilASampleIsNotZero) {
  RecentSamples recent;
  EXPECT_TRUE(recent.silent());
  const std::vector<float> zeros(700, 0.0f);
  recent.append(zeros.data(), 700);
  EXPECT_TRUE(recent.silent());
  const float tiny = -1e-30f;
  recent.append(&tiny, 1);
  EXPECT_FALSE(recent.silent());
  recent.append(zeros.data(), 511);
  EXPECT_FALSE(recent.silent());
  recent.append(zeros.data(), 1);
  EXPECT_TRUE(recent.silent());
}

TEST(RecentSamples, ClearGoesBackToSilence) {
  RecentSamples recent;
  const std::vector<float> run = ramp(300);
  recent.append(run.data(), 300);
  recent.clear();
  EXPECT_TRUE(recent.silent());
  recent.append(run.data(), 2);
  EXPECT_EQ(kept(recent), lastOf({1.0f, 2.0f}));
}

}  // namespace
