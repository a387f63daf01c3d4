// The clipper's limiter window and the delay's length count samples at the description's rate:
// at any factor and host rate they last as long as there.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "ProcessorHarness.h"
#include "processors/ADelay.h"
#include "processors/ZrClipper.h"
#include "support/OneChannelHost.h"

namespace {

enum : VstInt32 { kAverageTime = 4 };

struct Timing {
  const char* name;
  TimeScale scale;
  float rate;
};

void tellRate(AEffect& record, float rate) {
  record.dispatcher(&record, effSetSampleRate, 0, 0, nullptr, rate);
}

struct WindowCase {
  Timing timing;
  float milliseconds;
  VstInt32 window;
};

// At 44.1 kHz 1 ms is 44 samples (44.1 truncated) and 10 ms reaches the cap of 100.
const WindowCase kWindowCases[] = {
    {{"raw at 44.1 kHz", TimeScale(), 44100.0f}, 1.0f, 44},
    {{"raw at 176.4 kHz", TimeScale(), 176400.0f}, 0.5f, 88},
    {{"raw at 176.4 kHz, capped at 100", TimeScale(), 176400.0f}, 1.0f, 100},
    {{"4x at 44.1 kHz", TimeScale(4, 0.0f), 176400.0f}, 1.0f, 176},
    {{"4x at 44.1 kHz, capped", TimeScale(4, 0.0f), 176400.0f}, 10.0f, 400},
    {{"named 44.1 kHz at 44.1 kHz", TimeScale(1, 44100.0f), 44100.0f}, 1.0f, 44},
    {{"named 44.1 kHz at 96 kHz", TimeScale(1, 44100.0f), 96000.0f}, 1.0f, 96},
    {{"named 44.1 kHz at 96 kHz, capped", TimeScale(1, 44100.0f), 96000.0f}, 10.0f, 218},
    {{"named 44.1 kHz, 16x at 192 kHz, capped", TimeScale(16, 44100.0f), 3072000.0f}, 10.0f, 6966},
    {{"hard clipping stays hard", TimeScale(4, 0.0f), 176400.0f}, 0.03f, 1},
};

class LimiterWindow : public ::testing::TestWithParam<WindowCase> {};

TEST_P(LimiterWindow, CountsAtTheDescriptionsRate) {
  const WindowCase& c = GetParam();
  ZrClipper clipper(oneChannelHost, c.timing.scale);
  tellRate(*clipper.getAeffect(), c.timing.rate);
  clipper.setParameter(kAverageTime, c.milliseconds);
  EXPECT_EQ(clipper.getWindowLength(), c.window) << c.timing.name;
}

INSTANTIATE_TEST_SUITE_P(Clipper, LimiterWindow, ::testing::ValuesIn(kWindowCases));

TEST(LimiterWindow, FollowsARateChangeUnlessRaw) {
  ZrClipper raw(oneChannelHost), named(oneChannelHost, TimeScale(1, 44100.0f));
  for (ZrClipper* clipper : {&raw, &named}) {
    clipper->setParameter(kAverageTime, 1.0f);
    tellRate(*clipper->getAeffect(), 96000.0f);
  }
  EXPECT_EQ(raw.getWindowLength(), 44);
  EXPECT_EQ(named.getWindowLength(), 96);
}

// Each input sample held for four samples: the 4x limiter, whose window is four times as long,
// sees the same averages at the end of every group of four as the limiter at 44.1 kHz.
TEST(LimiterWindow, At4xLimitsAsAt1x) {
  ZrClipper host(oneChannelHost), oversampled(oneChannelHost, TimeScale(4, 0.0f));
  tellRate(*oversampled.getAeffect(), 176400.0f);
  for (ZrClipper* clipper : {&host, &oversampled}) {
    clipper->setParameter(0, 0.15f);  // x2.4
    clipper->setParameter(kAverageTime, 1.0f);
  }
  const std::vector<float> input = testSignal(4000, 0.8f);
  std::vector<float> held;
  for (const float sample : input) held.insert(held.end(), 4, sample);
  const std::vector<float> atHost = processInPieces(*host.getAeffect(), input, {7, 64, 1, 509});
  const std::vector<float> atFour = processInPieces(*oversampled.getAeffect(), held, {28, 256, 4, 2036});
  for (std::size_t i = 0; i < input.size(); ++i) {
    ASSERT_NEAR(atFour[4 * i + 3], atHost[i], 1e-4f * std::max(1.0f, std::fabs(atHost[i]))) << i;
  }
}

// One impulse through the delay of the slapback sound (110 ms): its echo.
double echoSeconds(const Timing& timing, float delay) {
  ADelay line(oneChannelHost, timing.scale);
  tellRate(*line.getAeffect(), timing.rate);
  line.setParameter(0, delay);
  std::vector<float> impulse(static_cast<std::size_t>(line.getDelayLength()) + 16, 0.0f);
  impulse[0] = 1.0f;
  const std::vector<float> out = processInPieces(*line.getAeffect(), impulse, {4096, 13, 65536});
  const auto echo = std::find(out.begin(), out.end(), 1.0f);
  return static_cast<double>(echo - out.begin()) / timing.rate;
}

const Timing kEchoTimings[] = {
    {"4x at 44.1 kHz", TimeScale(4, 0.0f), 176400.0f},
    {"16x at 44.1 kHz", TimeScale(16, 0.0f), 705600.0f},
    {"named 44.1 kHz at 48 kHz", TimeScale(1, 44100.0f), 48000.0f},
    {"named 44.1 kHz at 96 kHz", TimeScale(1, 44100.0f), 96000.0f},
    {"named 44.1 kHz, 2x at 88.2 kHz", TimeScale(2, 44100.0f), 176400.0f},
    {"named 44.1 kHz, 8x at 192 kHz", TimeScale(8, 44100.0f), 1536000.0f},
};

class DelayEcho : public ::testing::TestWithParam<Timing> {};

TEST_P(DelayEcho, ArrivesWhenItDoesAt44100) {
  const double atHost = echoSeconds({"raw at 44.1 kHz", TimeScale(), 44100.0f}, 0.55f);
  EXPECT_NEAR(echoSeconds(GetParam(), 0.55f), atHost, 0.5 / GetParam().rate) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(Delay, DelayEcho, ::testing::ValuesIn(kEchoTimings));

// The longest delay, 40000 samples at 44.1 kHz (0.907 s), fits the lines at 16 times 192 kHz.
TEST(DelayLines, HoldTheLongestDelayAtTheHighestFactorAndRate) {
  const TimeScale scale(16, 44100.0f);
  ADelay line(oneChannelHost, scale);
  tellRate(*line.getAeffect(), 16.0f * 192000.0f);
  line.setParameter(0, 5.0f);
  EXPECT_EQ(line.getDelayLength(), scale.samplesAt(ADelay::kBufferSize, 16.0f * 192000.0f));
  EXPECT_GE(line.lineLength(), line.getDelayLength());
  EXPECT_NEAR(static_cast<double>(line.getDelayLength()) / (16.0 * 192000.0), 40000.0 / 44100.0, 1e-6);
}

// Clearing reaches every slot a length has used since the last clearing, also after the length
// shrank, so a longer length afterwards plays silence first.
TEST(DelayLines, ClearingReachesEverySlotUsedSinceTheLast) {
  ADelay line(oneChannelHost, TimeScale(4, 0.0f));
  tellRate(*line.getAeffect(), 176400.0f);
  line.setParameter(0, 1.0f);
  const VstInt32 longest = line.getDelayLength();
  processWhole(*line.getAeffect(), std::vector<float>(static_cast<std::size_t>(longest), 1.0f));
  line.setParameter(0, 0.1f);
  line.clearSignalState();
  line.setParameter(0, 1.0f);
  const std::vector<float> out =
      processWhole(*line.getAeffect(), std::vector<float>(static_cast<std::size_t>(longest), 0.5f));
  EXPECT_EQ(std::count(out.begin(), out.end(), 0.0f), longest);
}

TEST(DelayLines, RawLinesKeepTheirSizeAndLimit) {
  ADelay line(oneChannelHost);
  tellRate(*line.getAeffect(), 192000.0f);
  line.setParameter(0, 5.0f);
  EXPECT_EQ(line.lineLength(), ADelay::kBufferSize);
  EXPECT_EQ(line.getDelayLength(), ADelay::kBufferSize);
}

}  // namespace
