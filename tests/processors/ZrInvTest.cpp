#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "ExpectIdentity.h"
#include "ProcessorHarness.h"
#include "processors/ZrInv.h"
#include "support/GuardedBuffer.h"
#include "support/OneChannelHost.h"
#include "support/RecordingHost.h"

namespace {

// Reports only input pin 2 as connected, so the two routines, which ask about different
// pins, choose different channel counts.
VstIntPtr VSTCALLBACK pinTwoHost(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr, void*, float) {
  if (opcode == audioMasterPinConnected) return index == 2 ? 0 : 1;
  return 0;
}

}  // namespace

TEST(ZrInvTest, NegatesEverySampleThroughRecord) {
  ZrInv inverter(oneChannelHost);
  AEffect& record = *inverter.getAeffect();
  const std::vector<float> input = testSignal(500, 3.0f);
  const std::vector<float> output = processWhole(record, input);
  for (std::size_t i = 0; i < input.size(); ++i) ASSERT_EQ(output[i], -input[i]);
  EXPECT_EQ(processInPieces(record, input, {3, 0, 77}), output);
}

TEST(ZrInvTest, ZeroBecomesNegativeZeroAndBack) {
  ZrInv inverter(oneChannelHost);
  const std::vector<float> output = processWhole(*inverter.getAeffect(), {0.0f, -0.0f});
  EXPECT_TRUE(std::signbit(output[0]));
  EXPECT_EQ(output[0], 0.0f);
  EXPECT_FALSE(std::signbit(output[1]));
}

TEST(ZrInvTest, EmptyBlockWritesNothing) {
  ZrInv inverter(nullptr);
  AEffect& record = *inverter.getAeffect();
  StereoBlock block(4, 0.25f, 0.5f, 9.0f);
  record.processReplacing(&record, block.inputs, block.outputs, 0);
  record.process(&record, block.inputs, block.outputs, 0);
  EXPECT_EQ(block.out0.samples(), std::vector<float>(4, 9.0f));
  EXPECT_EQ(block.out1.samples(), std::vector<float>(4, 9.0f));
}

TEST(ZrInvTest, OneChannelCallerKeepsSecondBuffersUntouched) {
  ZrInv inverter(oneChannelHost);
  AEffect& record = *inverter.getAeffect();
  StereoBlock block(8, 0.25f, 0.5f, 9.0f);
  record.processReplacing(&record, block.inputs, block.outputs, 8);
  EXPECT_EQ(block.out0.samples(), std::vector<float>(8, -0.25f));
  record.process(&record, block.inputs, block.outputs, 8);
  EXPECT_EQ(block.out0.samples(), std::vector<float>(8, -0.5f));
  EXPECT_EQ(block.in1.samples(), std::vector<float>(8, 0.5f));
  EXPECT_EQ(block.out1.samples(), std::vector<float>(8, 9.0f));
  EXPECT_TRUE(block.guardsIntact());
}

TEST(ZrInvTest, WithoutHostBothChannelsAreInverted) {
  ZrInv inverter(nullptr);
  AEffect& record = *inverter.getAeffect();
  StereoBlock block(8, 0.25f, 0.5f, 9.0f);
  record.processReplacing(&record, block.inputs, block.outputs, 8);
  EXPECT_EQ(block.out0.samples(), std::vector<float>(8, -0.25f));
  EXPECT_EQ(block.out1.samples(), std::vector<float>(8, -0.5f));
  EXPECT_TRUE(block.guardsIntact());
}

TEST(ZrInvTest, ReplacingAsksPinTwoAndAccumulatingPinOne) {
  ZrInv inverter(pinTwoHost);
  AEffect& record = *inverter.getAeffect();
  StereoBlock block(4, 0.25f, 0.5f, 1.0f);
  record.processReplacing(&record, block.inputs, block.outputs, 4);
  EXPECT_EQ(block.out1.samples(), std::vector<float>(4, -0.5f));
  record.process(&record, block.inputs, block.outputs, 4);
  EXPECT_EQ(block.out0.samples(), std::vector<float>(4, -0.5f));
  EXPECT_EQ(block.out1.samples(), std::vector<float>(4, -0.5f));
}

TEST(ZrInvTest, AccumulatingSubtractsInput) {
  ZrInv inverter(oneChannelHost);
  AEffect& record = *inverter.getAeffect();
  float input[] = {0.75f, -1.0f};
  float output[] = {0.25f, 0.5f};
  float* inputs[] = {input};
  float* outputs[] = {output};
  record.process(&record, inputs, outputs, 2);
  EXPECT_EQ(output[0], -0.5f);
  EXPECT_EQ(output[1], 1.5f);
}

TEST(ZrInvTest, InPlaceNegatesBuffer) {
  ZrInv inverter(oneChannelHost);
  AEffect& record = *inverter.getAeffect();
  GuardedBuffer buffer(3);
  buffer[0] = 1.0f;
  buffer[1] = -2.5f;
  buffer[2] = 0.125f;
  float* channels[] = {buffer.data()};
  record.processReplacing(&record, channels, channels, 3);
  EXPECT_EQ(buffer.samples(), (std::vector<float>{-1.0f, 2.5f, -0.125f}));
  EXPECT_TRUE(buffer.guardsIntact());
}

TEST(ZrInvTest, HasNoParameters) {
  RecordingHost host;
  ZrInv inverter(RecordingHost::callback);
  AEffect& record = *inverter.getAeffect();
  record.setParameter(&record, 0, 0.7f);
  EXPECT_TRUE(host.requests(audioMasterAutomate).empty());
  EXPECT_EQ(record.getParameter(&record, 0), 0.0f);
  char text[16] = "untouched";
  record.dispatcher(&record, effGetParamName, 0, 0, text, 0.0f);
  EXPECT_STREQ(text, "untouched");
  record.dispatcher(&record, effGetParamDisplay, 0, 0, text, 0.0f);
  EXPECT_STREQ(text, "untouched");
  record.dispatcher(&record, effGetParamLabel, 0, 0, text, 0.0f);
  EXPECT_STREQ(text, "");
}

TEST(ZrInvTest, IdentityAndProgramName) {
  ZrInv inverter(oneChannelHost);
  AEffect& record = *inverter.getAeffect();
  expectIdentity(record, {"zriinv", "brelvanix zriinv", 1000, CCONST('z', 'r', 'i', 'n'), 1, 1,
                          effFlagsCanReplacing | effFlagsCanMono});

  char text[64];
  record.dispatcher(&record, effGetProgramName, 0, 0, text, 0.0f);
  EXPECT_STREQ(text, "Default");
  char longName[] = "a program name far longer than any field";
  record.dispatcher(&record, effSetProgramName, 0, 0, longName, 0.0f);
  record.dispatcher(&record, effGetProgramName, 0, 0, text, 0.0f);
  EXPECT_EQ(std::string(text), std::string(longName).substr(0, kVstMaxProgNameLen - 1));
}
