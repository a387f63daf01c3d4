#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "ExpectIdentity.h"
#include "processors/ZrIIRFilter.h"
#include "support/GuardedBuffer.h"
#include "support/OneChannelHost.h"
#include "support/RecordingHost.h"

namespace {

// Reaches the filter the way the engine and a host do: through the entry
// functions of its effect record.
class ZrIIRFilterTest : public ::testing::Test {
 protected:
  void set(VstInt32 index, float value) { effect->setParameter(effect, index, value); }
  float get(VstInt32 index) { return effect->getParameter(effect, index); }

  std::string text(VstInt32 opcode, VstInt32 index = 0) {
    char buffer[kVstMaxNameLen] = "untouched";
    effect->dispatcher(effect, opcode, index, 0, buffer, 0.0f);
    return buffer;
  }
  std::string display(VstInt32 index) { return text(effGetParamDisplay, index); }

  std::vector<float> process(const std::vector<float>& input) {
    std::vector<float> output(input.size());
    float* inputs[] = {const_cast<float*>(input.data())};
    float* outputs[] = {output.data()};
    effect->processReplacing(effect, inputs, outputs, static_cast<VstInt32>(input.size()));
    return output;
  }

  ZrIIRFilter filter{oneChannelHost};
  AEffect* effect = filter.getAeffect();
};

std::vector<float> impulse(std::size_t length) {
  std::vector<float> signal(length, 0.0f);
  signal[0] = 1.0f;
  return signal;
}

std::vector<float> tone(std::size_t length) {
  std::vector<float> signal(length);
  for (std::size_t i = 0; i < length; ++i) signal[i] = std::sin(0.37f * static_cast<float>(i));
  return signal;
}

TEST_F(ZrIIRFilterTest, PresentsItsIdentity) {
  expectIdentity(*effect, {"zriir", "brelvanix zriir", 1000, CCONST('z', 'r', 'i', 'i'), 1, 7,
                           effFlagsCanReplacing | effFlagsCanMono});
  EXPECT_EQ(text(effGetProgramName), "Default");
}

TEST_F(ZrIIRFilterTest, NamesLabelsAndUnknownIndices) {
  const char* names[] = {"Order", "Type", "Nr of passes", "Frequency", "Alpha", "K", "Post gain"};
  for (VstInt32 i = 0; i < 7; ++i) {
    EXPECT_EQ(text(effGetParamName, i), names[i]);
    EXPECT_EQ(text(effGetParamLabel, i), "");
  }
  EXPECT_EQ(text(effGetParamName, 7), "untouched");
  EXPECT_EQ(text(effGetParamName, -1), "untouched");
  EXPECT_EQ(display(7), "untouched");
  EXPECT_EQ(get(7), 0.0f);
}

TEST_F(ZrIIRFilterTest, StartsAtItsDefaults) {
  EXPECT_EQ(get(ZrIIRFilter::kOrder), 1.0f);
  EXPECT_EQ(get(ZrIIRFilter::kType), 0.0f);
  EXPECT_EQ(get(ZrIIRFilter::kPasses), 0.4f);
  EXPECT_EQ(get(ZrIIRFilter::kFrequency), 0.5f);
  EXPECT_EQ(get(ZrIIRFilter::kAlpha), 0.95f);
  EXPECT_EQ(get(ZrIIRFilter::kK), 0.5f);
  EXPECT_EQ(get(ZrIIRFilter::kPostGain), 1.0f);
  EXPECT_EQ(display(ZrIIRFilter::kFrequency), "1672");
  EXPECT_EQ(display(ZrIIRFilter::kAlpha), "0.950000");
  EXPECT_EQ(display(ZrIIRFilter::kType), "N/A");
}

TEST_F(ZrIIRFilterTest, OrderRoundsToTheNearestAndDoesNotRedesign) {
  const IIRCascade::Coefficients before = filter.cascade().coefficients();
  set(ZrIIRFilter::kOrder, 0.49f);
  EXPECT_EQ(filter.cascade().order(), 1);
  EXPECT_EQ(get(ZrIIRFilter::kOrder), 0.0f);
  EXPECT_EQ(display(ZrIIRFilter::kOrder), "1");
  const IIRCascade::Coefficients after = filter.cascade().coefficients();
  EXPECT_EQ(std::memcmp(&before, &after, sizeof before), 0);
  set(ZrIIRFilter::kOrder, 0.5f);
  EXPECT_EQ(filter.cascade().order(), 2);
  set(ZrIIRFilter::kOrder, 1.0f);
  EXPECT_EQ(filter.cascade().order(), 2);
  EXPECT_EQ(display(ZrIIRFilter::kOrder), "2");
  set(ZrIIRFilter::kOrder, std::numeric_limits<float>::quiet_NaN());
  EXPECT_EQ(filter.cascade().order(), 0);
}

TEST_F(ZrIIRFilterTest, PassCountTruncatesTenTimesTheValue) {
  const struct {
    float value;
    VstInt32 passes;
  } cases[] = {{0.7f, 6},
               {0.75f, 7},
               {0.9f, 8},
               {0.0f, 0},
               {0.099f, 0},
               {1.0f, 10},
               {2.0f, 20},
               {3.0f, 20},
               {1e30f, 20},
               {-0.35f, -3},
               {std::numeric_limits<float>::quiet_NaN(), 0}};
  for (const auto& c : cases) {
    set(ZrIIRFilter::kPasses, c.value);
    EXPECT_EQ(filter.cascade().passes(), c.passes) << c.value;
    EXPECT_EQ(display(ZrIIRFilter::kPasses), std::to_string(c.passes)) << c.value;
  }
  set(ZrIIRFilter::kPasses, 0.75f);
  EXPECT_FLOAT_EQ(get(ZrIIRFilter::kPasses), 0.7f);
}

TEST_F(ZrIIRFilterTest, NoPassesOutputsASilentBlock) {
  set(ZrIIRFilter::kK, 0.9f);
  set(ZrIIRFilter::kPasses, -0.35f);
  std::vector<float> input = tone(64), output(64, 2.5f);
  float* inputs[] = {input.data()};
  float* outputs[] = {output.data()};
  effect->processReplacing(effect, inputs, outputs, 64);
  EXPECT_EQ(output, std::vector<float>(64, 0.0f));
}

TEST_F(ZrIIRFilterTest, TypeAboveOneHalfSelectsTheHighShelf) {
  set(ZrIIRFilter::kOrder, 0.0f);
  set(ZrIIRFilter::kType, 0.5f);
  EXPECT_FALSE(filter.cascade().highShelf());
  EXPECT_EQ(get(ZrIIRFilter::kType), 0.0f);
  EXPECT_EQ(display(ZrIIRFilter::kType), "low shelf");
  set(ZrIIRFilter::kType, 0.51f);
  EXPECT_TRUE(filter.cascade().highShelf());
  EXPECT_EQ(get(ZrIIRFilter::kType), 1.0f);
  EXPECT_EQ(display(ZrIIRFilter::kType), "high shelf");
  set(ZrIIRFilter::kOrder, 1.0f);
  EXPECT_EQ(display(ZrIIRFilter::kType), "N/A");
}

TEST_F(ZrIIRFilterTest, TypeRedesignsOnlyAtFirstOrder) {
  set(ZrIIRFilter::kK, 0.8f);
  const std::vector<float> fresh = process(impulse(200));
  process(tone(100));
  set(ZrIIRFilter::kType, 0.0f);
  EXPECT_NE(process(impulse(200)), fresh) << "order 2 keeps its histories";

  set(ZrIIRFilter::kOrder, 0.0f);
  set(ZrIIRFilter::kFrequency, 0.5f);
  const std::vector<float> freshFirstOrder = process(impulse(200));
  process(tone(100));
  set(ZrIIRFilter::kType, 0.0f);
  EXPECT_EQ(process(impulse(200)), freshFirstOrder);
}

TEST_F(ZrIIRFilterTest, FrequencyDisplayIsInHertzAtAnySampleRate) {
  set(ZrIIRFilter::kFrequency, 1.0f);
  EXPECT_EQ(get(ZrIIRFilter::kFrequency), 1.0f);
  EXPECT_EQ(display(ZrIIRFilter::kFrequency), "22050");
  set(ZrIIRFilter::kFrequency, 0.5f);
  effect->dispatcher(effect, effSetSampleRate, 0, 0, nullptr, 48000.0f);
  EXPECT_EQ(display(ZrIIRFilter::kFrequency), "1672");
  set(ZrIIRFilter::kFrequency, 0.0f);
  EXPECT_EQ(display(ZrIIRFilter::kFrequency), "0");
}

TEST_F(ZrIIRFilterTest, AlphaIsIgnoredAtFirstOrderAndReadsBackTheDesignedValue) {
  set(ZrIIRFilter::kOrder, 0.0f);
  set(ZrIIRFilter::kFrequency, 0.0f);
  set(ZrIIRFilter::kAlpha, 0.3f);
  EXPECT_EQ(get(ZrIIRFilter::kAlpha), 1.0f);
  EXPECT_EQ(display(ZrIIRFilter::kAlpha), "N/A");
  // The angle is the normalized frequency itself, in radians.
  set(ZrIIRFilter::kFrequency, 1.0f);
  EXPECT_NEAR(get(ZrIIRFilter::kAlpha), (1.0 - std::sin(1.0)) / std::cos(1.0), 1e-6);

  set(ZrIIRFilter::kOrder, 1.0f);
  set(ZrIIRFilter::kAlpha, 0.3f);
  EXPECT_EQ(get(ZrIIRFilter::kAlpha), 0.3f);
  EXPECT_EQ(display(ZrIIRFilter::kAlpha), "0.300000");
  EXPECT_EQ(filter.cascade().coefficients().b0, 0.3f);
}

TEST_F(ZrIIRFilterTest, KAndPostGainShowSixDecimals) {
  set(ZrIIRFilter::kK, 0.25f);
  set(ZrIIRFilter::kPostGain, 1.5f);
  EXPECT_EQ(get(ZrIIRFilter::kK), 0.25f);
  EXPECT_EQ(get(ZrIIRFilter::kPostGain), 1.5f);
  EXPECT_EQ(display(ZrIIRFilter::kK), "0.250000");
  EXPECT_EQ(display(ZrIIRFilter::kPostGain), "1.500000");
  // Displays reach the host's own buffer through the main effect; long ones are cut.
  set(ZrIIRFilter::kPostGain, -12345.678f);
  EXPECT_EQ(display(ZrIIRFilter::kPostGain), "-12345.677");
}

TEST_F(ZrIIRFilterTest, ProgramNameIsCutToItsField) {
  char longName[] = "a program name that is far too long to fit";
  effect->dispatcher(effect, effSetProgramName, 0, 0, longName, 0.0f);
  EXPECT_EQ(text(effGetProgramName), std::string(longName, kVstMaxProgNameLen - 1));
}

TEST(ZrIIRFilterHost, EverySettingIsReportedAsAutomation) {
  RecordingHost host;
  ZrIIRFilter filter(RecordingHost::callback);
  filter.setParameter(ZrIIRFilter::kK, 0.25f);
  filter.setParameter(9, 0.5f);
  const std::vector<HostRequest> reports = host.requests(audioMasterAutomate);
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(reports[0].effect, filter.getAeffect());
  EXPECT_EQ(reports[0].index, ZrIIRFilter::kK);
  EXPECT_EQ(reports[0].opt, 0.25f);
  EXPECT_EQ(reports[1].effect, filter.getAeffect());
  EXPECT_EQ(reports[1].index, 9);
  EXPECT_EQ(reports[1].opt, 0.5f);
}

TEST(ZrIIRFilterHost, ResumeTakesTheChannelCountFromPinOne) {
  ZrIIRFilter inner(oneChannelHost);
  inner.getAeffect()->dispatcher(inner.getAeffect(), effMainsChanged, 0, 1, nullptr, 0.0f);
  EXPECT_EQ(inner.cascade().channelCount(), 1);
  ZrIIRFilter standalone(nullptr);
  standalone.resume();
  EXPECT_EQ(standalone.cascade().channelCount(), 2);
}

TEST_F(ZrIIRFilterTest, ResumeKeepsTheHistories) {
  set(ZrIIRFilter::kK, 0.8f);
  const std::vector<float> fresh = process(impulse(100));
  effect->dispatcher(effect, effMainsChanged, 0, 1, nullptr, 0.0f);
  EXPECT_NE(process(impulse(100)), fresh);
}

TEST_F(ZrIIRFilterTest, SampleRateChangeRedesignsFromSilence) {
  set(ZrIIRFilter::kK, 0.8f);
  process(tone(300));
  effect->dispatcher(effect, effSetSampleRate, 0, 0, nullptr, 48000.0f);
  EXPECT_EQ(filter.getSampleRate(), 48000.0f);

  ZrIIRFilter fresh(oneChannelHost);
  fresh.setParameter(ZrIIRFilter::kK, 0.8f);
  fresh.setSampleRate(48000.0f);
  std::vector<float> input = impulse(300), expected(300);
  float* inputs[] = {input.data()};
  float* outputs[] = {expected.data()};
  fresh.processReplacing(inputs, outputs, 300);
  EXPECT_EQ(process(input), expected);
}

TEST_F(ZrIIRFilterTest, BlockSizeAndSampleRateTogetherRedesignToo) {
  set(ZrIIRFilter::kK, 0.8f);
  const std::vector<float> at96k = [] {
    ZrIIRFilter reference(oneChannelHost);
    reference.setParameter(ZrIIRFilter::kK, 0.8f);
    reference.setSampleRate(96000.0f);
    std::vector<float> input = impulse(300), output(300);
    float* inputs[] = {input.data()};
    float* outputs[] = {output.data()};
    reference.processReplacing(inputs, outputs, 300);
    return output;
  }();
  process(tone(300));
  filter.setBlockSizeAndSampleRate(256, 96000.0f);
  EXPECT_EQ(filter.getBlockSize(), 256);
  EXPECT_EQ(filter.getSampleRate(), 96000.0f);
  EXPECT_EQ(process(impulse(300)), at96k);
}

TEST_F(ZrIIRFilterTest, UnusableSampleRatesAreIgnored) {
  set(ZrIIRFilter::kK, 0.8f);
  const IIRCascade::Coefficients before = filter.cascade().coefficients();
  for (float rate :
       {0.0f, -44100.0f, std::numeric_limits<float>::infinity(), std::numeric_limits<float>::quiet_NaN()}) {
    effect->dispatcher(effect, effSetSampleRate, 0, 0, nullptr, rate);
    EXPECT_EQ(filter.getSampleRate(), 44100.0f) << rate;
  }
  const IIRCascade::Coefficients after = filter.cascade().coefficients();
  EXPECT_EQ(std::memcmp(&before, &after, sizeof before), 0);
  for (float sample : process(tone(500))) ASSERT_TRUE(std::isfinite(sample));
}

TEST_F(ZrIIRFilterTest, RecordAndDirectCallsProcessTheSameInsideOneChannel) {
  set(ZrIIRFilter::kOrder, 0.0f);
  set(ZrIIRFilter::kType, 1.0f);
  set(ZrIIRFilter::kK, 0.2f);
  ZrIIRFilter direct(oneChannelHost);
  direct.setParameter(ZrIIRFilter::kOrder, 0.0f);
  direct.setParameter(ZrIIRFilter::kType, 1.0f);
  direct.setParameter(ZrIIRFilter::kK, 0.2f);
  effect->dispatcher(effect, effMainsChanged, 0, 1, nullptr, 0.0f);

  const std::vector<float> signal = tone(513);
  GuardedBuffer input(signal.size()), output(signal.size());
  std::copy(signal.begin(), signal.end(), input.data());
  float* inputs[] = {input.data()};
  float* outputs[] = {output.data()};
  effect->processReplacing(effect, inputs, outputs, static_cast<VstInt32>(signal.size()));

  std::vector<float> expected(signal.size());
  float* directInputs[] = {const_cast<float*>(signal.data())};
  float* directOutputs[] = {expected.data()};
  direct.processReplacing(directInputs, directOutputs, static_cast<VstInt32>(signal.size()));

  EXPECT_EQ(output.samples(), expected);
  EXPECT_NE(expected, signal);
  EXPECT_TRUE(input.guardsIntact());
  EXPECT_TRUE(output.guardsIntact());
}

}  // namespace
