// An averager's window counts samples at the description's rate: at another factor or host
// rate it averages over the same time.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "TestBindings.h"
#include "TestBufferBank.h"
#include "graph/AveragerAN.h"
#include "graph/DividerAN.h"
#include "processors/TimeScale.h"

namespace {

// Tells the averager its rate as the engine does, through the node's dispatcher forwarding.
void prepare(AveragerAN& averager, const TimeScale& scale, float rate) {
  averager.setTimeScale(scale);
  ASSERT_TRUE(averager.allocateHistory());
  averager.dispatchToEffect(effSetSampleRate, 0, 0, nullptr, rate);
}

struct WindowCase {
  const char* name;
  TimeScale scale;
  float rate;
  float window;
  VstInt32 samples;
};

const WindowCase kWindowCases[] = {
    {"raw at 96 kHz", TimeScale(), 96000.0f, 2048.0f, 2048},
    {"4x at 44.1 kHz", TimeScale(4, 0.0f), 176400.0f, 2048.0f, 8192},
    {"16x at 48 kHz", TimeScale(16, 0.0f), 768000.0f, 256.0f, 4096},
    {"named 44.1 kHz at 44.1 kHz", TimeScale(1, 44100.0f), 44100.0f, 2048.0f, 2048},
    {"named 44.1 kHz at 96 kHz", TimeScale(1, 44100.0f), 96000.0f, 2048.0f, 4458},
    {"named 44.1 kHz, 16x at 192 kHz", TimeScale(16, 44100.0f), 3072000.0f, 2048.0f, 142663},
    {"named 96 kHz at 44.1 kHz, at least one sample", TimeScale(1, 96000.0f), 44100.0f, 1.0f, 1},
};

class AveragerWindow : public ::testing::TestWithParam<WindowCase> {};

TEST_P(AveragerWindow, IsStretchedToTheRunRate) {
  const WindowCase& c = GetParam();
  TestBufferBank bank(16);
  AveragerAN averager;
  bindConstant(averager, 0, c.window);
  prepare(averager, c.scale, c.rate);
  averager.processBlock(bank.bank, 16);
  EXPECT_EQ(averager.windowSamples(), c.samples) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Averager, AveragerWindow, ::testing::ValuesIn(kWindowCases));

// A window read from another node is stretched as it is read, block by block.
TEST(AveragerWindow, AFollowedWindowIsStretchedToo) {
  TestBufferBank bank(16);
  DividerAN length;
  bindConstant(length, 0, 300.0f);
  AveragerAN averager;
  bindSource(averager, 0, length, 0);
  prepare(averager, TimeScale(4, 0.0f), 176400.0f);
  averager.processBlock(bank.bank, 16);
  EXPECT_EQ(averager.windowSamples(), 1200);
  averager.dispatchToEffect(effSetSampleRate, 0, 0, nullptr, 192000.0f);
  averager.processBlock(bank.bank, 16);
  EXPECT_EQ(averager.windowSamples(), 1200);
}

// Storage for a followed window is sized at build for the highest rate the scale allows for.
TEST(AveragerWindow, FollowedHistoryCoversTheHighestRate) {
  AveragerAN averager;
  DividerAN length;
  bindSource(averager, 0, length, 0);
  averager.setTimeScale(TimeScale(4, 44100.0f));
  EXPECT_EQ(averager.historyNeeded(), TimeScale(4, 44100.0f).storageFor(AveragerAN::kMaxFollowedWindow));
  EXPECT_GT(averager.historyNeeded(), 4 * AveragerAN::kMaxFollowedWindow);
}

// The level an averager reports after every host-rate sample, fed at the host rate and, each
// sample held four times, at four times the rate: the 4x averager follows the same envelope.
TEST(AveragerEnvelope, At4xFollowsTheEnvelopeOf1x) {
  constexpr VstInt32 kWindow = 441;
  constexpr std::size_t kLength = 3000;
  TestBufferBank bank(4);
  AveragerAN host, oversampled;
  bindConstant(host, 0, kWindow);
  bindConstant(oversampled, 0, kWindow);
  prepare(host, TimeScale(), 44100.0f);
  prepare(oversampled, TimeScale(4, 0.0f), 176400.0f);
  for (std::size_t i = 0; i < kLength; ++i) {
    // A 1 kHz tone that swells and decays.
    const double t = static_cast<double>(i) / 44100.0;
    const float sample = static_cast<float>(std::sin(2.0 * std::numbers::pi * 1000.0 * t) * std::sin(std::numbers::pi * t / 0.068));
    bank.fill(0, {sample});
    host.processBlock(bank.bank, 1);
    bank.fill(0, {sample, sample, sample, sample});
    oversampled.processBlock(bank.bank, 4);
    ASSERT_NEAR(oversampled.getValue(AveragerAN::kLevel), host.getValue(AveragerAN::kLevel), 1e-5f) << i;
  }
  EXPECT_TRUE(bank.guardsIntact());
}

}  // namespace
