#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "ExpectIdentity.h"
#include "ProcessorHarness.h"
#include "processors/ZrClipper.h"
#include "support/GuardedBuffer.h"
#include "support/OneChannelHost.h"
#include "support/RecordingHost.h"

namespace {

enum : VstInt32 { kPreGain, kClipPositive, kClipNegative, kPostGain, kAverageTime };

// Stored gain for a unity factor (the clipper applies 16 x the stored value).
constexpr float kUnity = 0.0625f;

class ZrClipperTest : public ::testing::Test {
 protected:
  ZrClipper clipper{oneChannelHost};
  AEffect& record = *clipper.getAeffect();

  float processOne(float input) { return processWhole(record, {input})[0]; }

  std::string display(VstInt32 index) {
    char text[64] = "untouched";
    record.dispatcher(&record, effGetParamDisplay, index, 0, text, 0.0f);
    return text;
  }

  std::string name(VstInt32 index) {
    char text[64] = "untouched";
    record.dispatcher(&record, effGetParamName, index, 0, text, 0.0f);
    return text;
  }
};

// A model of the averaging limiter that sums each window afresh in double precision.
std::vector<float> averagingReference(const std::vector<float>& input, std::size_t window, double clip) {
  std::vector<float> output;
  std::deque<double> recent(window, 0.0);
  for (float sample : input) {
    recent.pop_front();
    recent.push_back(std::fabs(sample));
    double sum = 0.0;
    for (double magnitude : recent) sum += magnitude;
    const double average = sum / static_cast<double>(window);
    output.push_back(static_cast<float>(clip < average ? sample / average * clip : sample));
  }
  return output;
}

}  // namespace

TEST_F(ZrClipperTest, DefaultsHardClipAtHalf) {
  EXPECT_EQ(clipper.getWindowLength(), 0);
  EXPECT_EQ(processWhole(record, {0.7f, -0.7f, 0.3f, -0.3f, 0.5f, -0.5f}),
            (std::vector<float>{0.5f, -0.5f, 0.3f, -0.3f, 0.5f, -0.5f}));
}

TEST_F(ZrClipperTest, HardClipUsesEachLevelOnItsOwnSide) {
  record.setParameter(&record, kClipPositive, 0.2f);
  record.setParameter(&record, kClipNegative, 0.6f);
  EXPECT_EQ(processWhole(record, {0.3f, -0.3f, -0.9f, 0.1f}), (std::vector<float>{0.2f, -0.3f, -0.6f, 0.1f}));
}

TEST_F(ZrClipperTest, EachStepIsRoundedToFloat) {
  const float input = 0.1f, pre = 0.031f, post = 0.07f;
  record.setParameter(&record, kPreGain, pre);
  record.setParameter(&record, kPostGain, post);
  record.setParameter(&record, kClipPositive, 10.0f);
  // x = 0.1 x 0.496 rounded to float, then 1.12 x x rounded; one double-precision chain
  // would round only once and end one step lower.
  const float expected = 0.055552002f;
  ASSERT_NE(expected, static_cast<float>(double{input} * (16.0 * pre) * (16.0 * post)));
  EXPECT_EQ(processOne(input), expected);
}

TEST_F(ZrClipperTest, GainsAboveOneAreUsedUnclamped) {
  record.setParameter(&record, kPreGain, 2.0f);  // a factor of 32
  record.setParameter(&record, kClipPositive, 100.0f);
  EXPECT_EQ(processOne(0.5f), 16.0f);
  EXPECT_EQ(display(kPreGain), "32.000000");
}

TEST_F(ZrClipperTest, WindowOfOneStillHardClips) {
  record.setParameter(&record, kAverageTime, 0.03f);  // 1.323 samples at 44100 Hz
  ASSERT_EQ(clipper.getWindowLength(), 1);
  EXPECT_EQ(processWhole(record, {0.7f, -0.7f, 0.3f}), (std::vector<float>{0.5f, -0.5f, 0.3f}));
}

TEST_F(ZrClipperTest, AverageTimeSetsWindowInSamples) {
  record.setParameter(&record, kAverageTime, 0.05f);
  EXPECT_EQ(clipper.getWindowLength(), 2);  // 2.205 truncated
  EXPECT_EQ(display(kAverageTime), "0.05 ms");
  EXPECT_FLOAT_EQ(record.getParameter(&record, kAverageTime), 0.05f);

  record.setParameter(&record, kAverageTime, 10.0f);
  EXPECT_EQ(clipper.getWindowLength(), 100);
  EXPECT_EQ(display(kAverageTime), "2.27 ms");
  EXPECT_FLOAT_EQ(record.getParameter(&record, kAverageTime), 10.0f);

  record.setParameter(&record, kAverageTime, 1000.0f);
  EXPECT_EQ(clipper.getWindowLength(), 100);
}

TEST_F(ZrClipperTest, NegativeOrUndefinedAverageTimeGivesHardClipping) {
  for (float time : {-0.05f, -1000.0f, std::nanf("")}) {
    record.setParameter(&record, kAverageTime, 0.05f);
    record.setParameter(&record, kAverageTime, time);
    EXPECT_EQ(clipper.getWindowLength(), 0) << time;
    EXPECT_EQ(processOne(0.7f), 0.5f) << time;
  }
}

TEST_F(ZrClipperTest, SampleRateChangeKeepsWindowButChangesDisplay) {
  record.setParameter(&record, kAverageTime, 0.05f);
  record.dispatcher(&record, effSetSampleRate, 0, 0, nullptr, 22050.0f);
  EXPECT_EQ(clipper.getWindowLength(), 2);
  EXPECT_EQ(display(kAverageTime), "0.09 ms");
  record.setParameter(&record, kAverageTime, 0.05f);
  EXPECT_EQ(clipper.getWindowLength(), 1);
}

TEST_F(ZrClipperTest, AveragingLimiterFollowsWindowAverage) {
  record.setParameter(&record, kAverageTime, 0.2f);  // 8 samples
  ASSERT_EQ(clipper.getWindowLength(), 8);
  record.setParameter(&record, kClipPositive, 0.3f);
  record.setParameter(&record, kClipNegative, 0.01f);  // unused by the limiter
  const std::vector<float> input = testSignal(2000);
  const std::vector<float> output = processWhole(record, input);
  const std::vector<float> expected = averagingReference(input, 8, 0.3f);
  for (std::size_t i = 0; i < input.size(); ++i) {
    ASSERT_NEAR(output[i], expected[i], 2e-6f * (1.0f + std::fabs(expected[i]))) << "sample " << i;
  }
}

TEST_F(ZrClipperTest, AveragingLimiterScalesBothSignsAlike) {
  record.setParameter(&record, kAverageTime, 0.05f);  // 2 samples
  record.setParameter(&record, kClipPositive, 0.25f);
  // Averages 0.5 and 1.0: each sample is scaled by 0.25 / average, whatever its sign.
  EXPECT_EQ(processWhole(record, {-1.0f, 1.0f, -1.0f}), (std::vector<float>{-0.5f, 0.25f, -0.25f}));
}

TEST_F(ZrClipperTest, AverageEqualToClipLeavesSampleUnchanged) {
  const float clip = 0.3f, second = 0.1242f;
  const float first = 2.0f * clip - second;
  // Scaling by clip / average would not give the sample back exactly for these values.
  const float ratio = second / clip;
  ASSERT_NE(ratio * clip, second);
  record.setParameter(&record, kAverageTime, 0.05f);
  record.setParameter(&record, kClipPositive, clip);
  EXPECT_EQ(processWhole(record, {first, second})[1], second);
}

TEST_F(ZrClipperTest, RunningSumIsUpdatedIncrementally) {
  record.setParameter(&record, kAverageTime, 0.05f);  // 2 samples
  // In float32 the 1 added to 1e8 is lost, so once 1e8 leaves the window the sum holds 1,
  // not 2: the average 0.5 equals the clip level and the third sample passes unscaled.
  const std::vector<float> output = processWhole(record, {1e8f, 1.0f, 1.0f});
  EXPECT_EQ(output[0], 1.0f);
  EXPECT_EQ(output[2], 1.0f);
}

TEST_F(ZrClipperTest, NewWindowRestartsFromEmptyRing) {
  record.setParameter(&record, kAverageTime, 0.05f);
  processWhole(record, {100.0f, 100.0f, 100.0f});
  record.setParameter(&record, kAverageTime, 0.05f);
  // The first average is 0.8 / 2 = 0.4 < 0.5, so nothing is scaled.
  EXPECT_EQ(processOne(0.8f), 0.8f);
}

TEST_F(ZrClipperTest, AccumulatingModeAddsToOutput) {
  float input[] = {0.7f, 0.3f, -0.7f};
  float output[] = {0.25f, 0.25f, 1.0f};
  float* inputs[] = {input};
  float* outputs[] = {output};
  record.process(&record, inputs, outputs, 3);
  EXPECT_EQ(output[0], 0.75f);
  EXPECT_EQ(output[1], 0.25f + 0.3f);
  EXPECT_EQ(output[2], 0.5f);
}

TEST_F(ZrClipperTest, ZeroPreGainIsSilentInBothModes) {
  record.setParameter(&record, kPreGain, 0.0f);
  const std::vector<float> input = testSignal(300);
  for (float time : {0.0f, 1.0f}) {
    record.setParameter(&record, kAverageTime, time);
    for (float sample : processWhole(record, input)) ASSERT_EQ(sample, 0.0f) << "time " << time;

    std::vector<float> output(input.size(), 0.375f);
    std::vector<float> source = input;
    float* inputs[] = {source.data()};
    float* outputs[] = {output.data()};
    record.process(&record, inputs, outputs, static_cast<VstInt32>(input.size()));
    for (float sample : output) ASSERT_EQ(sample, 0.375f) << "time " << time;
  }
}

TEST_F(ZrClipperTest, PiecesGiveSameOutputAsWholeBlock) {
  const std::vector<float> input = testSignal(1000, 2.0f);
  record.setParameter(&record, kAverageTime, 0.3f);
  const std::vector<float> whole = processWhole(record, input);
  record.setParameter(&record, kAverageTime, 0.3f);
  EXPECT_EQ(processInPieces(record, input, {7, 0, 130, 1, 64}), whole);
  record.setParameter(&record, kAverageTime, 0.3f);
  EXPECT_EQ(processInPieces(record, input, {1}), whole);
}

TEST_F(ZrClipperTest, SecondChannelNeverTouched) {
  ZrClipper noHost(nullptr);  // the base reports every pin connected without a host
  AEffect& standalone = *noHost.getAeffect();
  GuardedBuffer in0(16, 0.9f), in1(16, 0.9f), out0(16), out1(16, 7.0f);
  float* inputs[] = {in0.data(), in1.data()};
  float* outputs[] = {out0.data(), out1.data()};
  standalone.processReplacing(&standalone, inputs, outputs, 16);
  standalone.process(&standalone, inputs, outputs, 16);
  EXPECT_EQ(out0[15], 1.0f);
  EXPECT_EQ(out1.samples(), std::vector<float>(16, 7.0f));
  EXPECT_TRUE(out0.guardsIntact() && out1.guardsIntact());
}

TEST_F(ZrClipperTest, ParametersReadBackAndDisplay) {
  const float values[] = {0.125f, 0.75f, 0.25f, 0.5f};
  for (VstInt32 index = kPreGain; index <= kPostGain; ++index) {
    record.setParameter(&record, index, values[index]);
    EXPECT_EQ(record.getParameter(&record, index), values[index]);
  }
  EXPECT_EQ(display(kPreGain), "2.000000");
  EXPECT_EQ(display(kClipPositive), "0.750000");
  EXPECT_EQ(display(kClipNegative), "0.250000");
  EXPECT_EQ(display(kPostGain), "8.000000");
  EXPECT_EQ(record.getParameter(&record, 5), 0.0f);
  EXPECT_EQ(record.getParameter(&record, -1), 0.0f);
}

TEST_F(ZrClipperTest, LongDisplayIsCutAndTerminated) {
  record.setParameter(&record, kClipPositive, 1e30f);
  EXPECT_EQ(display(kClipPositive), "1000000015");
}

TEST_F(ZrClipperTest, NamesAndLabels) {
  EXPECT_EQ(name(kPreGain), "Pre-gain");
  EXPECT_EQ(name(kClipPositive), "Clip positive");
  EXPECT_EQ(name(kClipNegative), "Clip negative");
  EXPECT_EQ(name(kPostGain), "Post-gain");
  EXPECT_EQ(name(kAverageTime), "Average time");
  EXPECT_EQ(name(5), "untouched");
  EXPECT_EQ(display(5), "untouched");
  char label[16] = "untouched";
  record.dispatcher(&record, effGetParamLabel, 2, 0, label, 0.0f);
  EXPECT_STREQ(label, "");
}

TEST(ZrClipperHostTest, EverySettingIsReportedToHost) {
  RecordingHost host;
  ZrClipper clipper(RecordingHost::callback);
  AEffect& record = *clipper.getAeffect();
  record.setParameter(&record, kClipPositive, 0.4f);
  record.setParameter(&record, 5, 0.9f);
  const std::vector<HostRequest> reports = host.requests(audioMasterAutomate);
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(reports[0].effect, &record);
  EXPECT_EQ(reports[0].index, kClipPositive);
  EXPECT_EQ(reports[0].opt, 0.4f);
  EXPECT_EQ(reports[1].effect, &record);
  EXPECT_EQ(reports[1].index, 5);
  EXPECT_EQ(reports[1].opt, 0.9f);
  const float expected[] = {kUnity, 0.4f, 0.5f, kUnity, 0.0f};
  for (VstInt32 index = 0; index < ZrClipper::kNumParams; ++index) {
    EXPECT_EQ(record.getParameter(&record, index), expected[index]);
  }
}

TEST_F(ZrClipperTest, IdentityThroughDispatcher) {
  expectIdentity(record, {"zrclip", "brelvanix zrclip", 1000, CCONST('z', 'r', 'c', 'l'), 1, 5,
                          effFlagsCanReplacing | effFlagsCanMono});
}

TEST_F(ZrClipperTest, ProgramNameIsKeptAndCut) {
  char text[64] = "";
  record.dispatcher(&record, effGetProgramName, 0, 0, text, 0.0f);
  EXPECT_STREQ(text, "Default");
  char shortName[] = "Crunch";
  record.dispatcher(&record, effSetProgramName, 0, 0, shortName, 0.0f);
  record.dispatcher(&record, effGetProgramName, 0, 0, text, 0.0f);
  EXPECT_STREQ(text, "Crunch");
  // Handed out at most as long as the interface's program-name field.
  char longName[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::memset(text, 'x', sizeof text);
  record.dispatcher(&record, effSetProgramName, 0, 0, longName, 0.0f);
  record.dispatcher(&record, effGetProgramName, 0, 0, text, 0.0f);
  EXPECT_STREQ(text, "abcdefghijklmnopqrstuvw");
}
