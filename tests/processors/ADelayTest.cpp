#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ExpectIdentity.h"
#include "ProcessorHarness.h"
#include "processors/ADelay.h"
#include "support/GuardedBuffer.h"
#include "support/OneChannelHost.h"
#include "support/RecordingHost.h"

namespace {

enum : VstInt32 { kDelay, kFeedback, kVolume };

// The delay line as a plain shift: output i is input i - length, silence before.
std::vector<float> delayedReference(const std::vector<float>& input, std::size_t length) {
  std::vector<float> output(input.size(), 0.0f);
  for (std::size_t i = length; i < input.size(); ++i) output[i] = input[i - length];
  return output;
}

// Starts as the engine's one-channel host; a test may then report pin 1 as connected.
bool secondChannelConnected = false;

VstIntPtr VSTCALLBACK switchableHost(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr, void*, float) {
  if (opcode == audioMasterPinConnected) return index == 0 || secondChannelConnected ? 0 : 1;
  return 0;
}

class ADelayTest : public ::testing::Test {
 protected:
  ADelay delay{oneChannelHost};
  AEffect& record = *delay.getAeffect();

  void setSampleRate(float rate) { record.dispatcher(&record, effSetSampleRate, 0, 0, nullptr, rate); }

  std::string text(VstInt32 opcode, VstInt32 index) {
    char buffer[64] = "untouched";
    record.dispatcher(&record, opcode, index, 0, buffer, 0.0f);
    return buffer;
  }

  std::string programName() { return text(effGetProgramName, 0); }

  std::string indexedName(VstInt32 program, bool* found = nullptr) {
    char buffer[64] = "untouched";
    const VstIntPtr answer = record.dispatcher(&record, effGetProgramNameIndexed, program, 0, buffer, 0.0f);
    if (found) *found = answer == 1;
    return buffer;
  }

  void rename(const char* name) {
    std::string copy = name;
    record.dispatcher(&record, effSetProgramName, 0, 0, copy.data(), 0.0f);
  }
};

}  // namespace

TEST_F(ADelayTest, ConstructedWithTenthOfSecondDelay) {
  EXPECT_EQ(delay.getDelayLength(), 4410);
  EXPECT_EQ(record.getParameter(&record, kDelay), 0.5f);
  EXPECT_EQ(record.getParameter(&record, kFeedback), 0.5f);
  EXPECT_EQ(record.getParameter(&record, kVolume), 0.75f);
  const std::vector<float> input = testSignal(6000);
  const std::vector<float> output = processWhole(record, input);
  EXPECT_EQ(output, delayedReference(input, 4410));
  EXPECT_EQ(output[4410], input[0]);
}

TEST(ADelayHostTest, ConstructionReportsProgramZeroToHost) {
  RecordingHost host;
  ADelay delay(RecordingHost::callback);
  const std::vector<HostRequest> reports = host.requests(audioMasterAutomate);
  ASSERT_EQ(reports.size(), 3u);
  const float values[] = {0.5f, 0.5f, 0.75f};
  for (VstInt32 index = 0; index < 3; ++index) {
    EXPECT_EQ(reports[index].effect, delay.getAeffect());
    EXPECT_EQ(reports[index].index, index);
    EXPECT_EQ(reports[index].opt, values[index]);
  }
  host.clear();
  delay.setParameter(7, 0.125f);
  ASSERT_EQ(host.requests(audioMasterAutomate).size(), 1u);
  EXPECT_EQ(host.requests(audioMasterAutomate)[0].index, 7);
}

TEST_F(ADelayTest, DelayZeroGivesOneSample) {
  record.setParameter(&record, kDelay, 0.0f);
  EXPECT_EQ(delay.getDelayLength(), 0);
  const std::vector<float> input = testSignal(50);
  EXPECT_EQ(processWhole(record, input), delayedReference(input, 1));
}

TEST_F(ADelayTest, DelayOneGivesTwoTenthsOfSecond) {
  record.setParameter(&record, kDelay, 1.0f);
  EXPECT_EQ(delay.getDelayLength(), 8820);
  EXPECT_EQ(text(effGetParamDisplay, kDelay), "200.0000");
  EXPECT_EQ(text(effGetParamLabel, kDelay), "ms");
  const std::vector<float> input = testSignal(9000);
  EXPECT_EQ(processWhole(record, input), delayedReference(input, 8820));
}

TEST_F(ADelayTest, OversizedDelayIsLimitedToBuffer) {
  record.setParameter(&record, kDelay, 10.0f);  // 88200 samples asked for
  EXPECT_EQ(delay.getDelayLength(), ADelay::kBufferSize);
  const std::vector<float> input = testSignal(ADelay::kBufferSize + 500);
  EXPECT_EQ(processInPieces(record, input, {4096, 333}), delayedReference(input, ADelay::kBufferSize));

  record.setParameter(&record, kDelay, -1.0f);
  EXPECT_EQ(delay.getDelayLength(), 0);
}

TEST_F(ADelayTest, PiecesGiveSameOutputAsWholeBlock) {
  record.setParameter(&record, kDelay, 0.01f);  // 88 samples
  const std::vector<float> input = testSignal(1000);
  const std::vector<float> whole = processWhole(record, input);
  EXPECT_EQ(whole, delayedReference(input, 88));
  record.dispatcher(&record, effMainsChanged, 0, 1, nullptr, 0.0f);
  record.setParameter(&record, kDelay, 0.01f);
  EXPECT_EQ(processInPieces(record, input, {5, 0, 200, 87, 1}), whole);
  record.dispatcher(&record, effMainsChanged, 0, 1, nullptr, 0.0f);
  record.setParameter(&record, kDelay, 0.01f);
  EXPECT_EQ(processInPieces(record, input, {1}), whole);
}

TEST_F(ADelayTest, AccumulatingModeAddsDelayedInput) {
  record.setParameter(&record, kDelay, 0.0f);
  float input[] = {1.0f, 2.0f, 3.0f};
  float output[] = {0.5f, 0.5f, 0.5f};
  float* inputs[] = {input};
  float* outputs[] = {output};
  record.process(&record, inputs, outputs, 3);
  EXPECT_EQ(std::vector<float>(output, output + 3), (std::vector<float>{0.5f, 1.5f, 2.5f}));
}

TEST_F(ADelayTest, SampleRateChangeRestartsCursorButKeepsLines) {
  setSampleRate(1000.0f);
  record.setParameter(&record, kDelay, 0.05f);  // 10 samples at 1000 Hz
  ASSERT_EQ(delay.getDelayLength(), 10);
  processWhole(record, {1, 2, 3, 4, 5, 6, 7});
  setSampleRate(1000.0f);
  // Reading restarts at slot 0, which still holds the first block.
  EXPECT_EQ(processWhole(record, std::vector<float>(12, 9.0f)),
            (std::vector<float>{1, 2, 3, 4, 5, 6, 7, 0, 0, 0, 9, 9}));
  setSampleRate(2000.0f);
  EXPECT_EQ(delay.getDelayLength(), 20);
  EXPECT_EQ(record.getParameter(&record, kDelay), 0.05f);
}

TEST_F(ADelayTest, ResumeClearsLines) {
  record.setParameter(&record, kDelay, 0.0f);
  processWhole(record, {5.0f});
  record.dispatcher(&record, effMainsChanged, 0, 1, nullptr, 0.0f);
  EXPECT_EQ(processWhole(record, {1.0f, 2.0f}), (std::vector<float>{0.0f, 1.0f}));
}

TEST(ADelayChannelTest, OneChannelLeavesSecondLineAndBuffersAlone) {
  secondChannelConnected = false;
  ADelay delay(switchableHost);
  AEffect& record = *delay.getAeffect();
  record.setParameter(&record, kDelay, 0.0f);
  StereoBlock block(6, 0.25f, 0.5f, 9.0f);
  record.processReplacing(&record, block.inputs, block.outputs, 6);
  EXPECT_EQ(block.out0.samples(), (std::vector<float>{0, 0.25f, 0.25f, 0.25f, 0.25f, 0.25f}));
  EXPECT_EQ(block.out1.samples(), std::vector<float>(6, 9.0f));
  EXPECT_EQ(block.in1.samples(), std::vector<float>(6, 0.5f));

  // Once both channels run, the second line shows that nothing went into it before.
  secondChannelConnected = true;
  record.processReplacing(&record, block.inputs, block.outputs, 2);
  EXPECT_EQ(block.out0[0], 0.25f);
  EXPECT_EQ(block.out1[0], 0.0f);
  EXPECT_EQ(block.out1[1], 0.5f);
  EXPECT_TRUE(block.guardsIntact());
  secondChannelConnected = false;
}

TEST(ADelayChannelTest, BothChannelsShareOneCursor) {
  ADelay delay(nullptr);  // every pin counts as connected without a host
  AEffect& record = *delay.getAeffect();
  record.dispatcher(&record, effSetSampleRate, 0, 0, nullptr, 1000.0f);
  record.setParameter(&record, kDelay, 0.05f);  // 10 samples
  const std::vector<float> left = testSignal(60), right = testSignal(60, 0.5f);
  GuardedBuffer in0(60), in1(60), out0(60), out1(60);
  std::copy(left.begin(), left.end(), in0.data());
  std::copy(right.begin(), right.end(), in1.data());
  for (std::size_t done = 0; done < 60; done += 7) {
    const auto count = static_cast<VstInt32>(std::min<std::size_t>(7, 60 - done));
    float* inputs[] = {in0.data() + done, in1.data() + done};
    float* outputs[] = {out0.data() + done, out1.data() + done};
    record.processReplacing(&record, inputs, outputs, count);
  }
  EXPECT_EQ(out0.samples(), delayedReference(left, 10));
  EXPECT_EQ(out1.samples(), delayedReference(right, 10));
  EXPECT_TRUE(out0.guardsIntact() && out1.guardsIntact());
}

TEST_F(ADelayTest, DisplaysNamesAndLabels) {
  EXPECT_EQ(text(effGetParamName, kDelay), "Delay");
  EXPECT_EQ(text(effGetParamName, kFeedback), "FeedBack");
  EXPECT_EQ(text(effGetParamName, kVolume), "Volume");
  EXPECT_EQ(text(effGetParamName, 3), "untouched");
  EXPECT_EQ(text(effGetParamLabel, kFeedback), "amount");
  EXPECT_EQ(text(effGetParamLabel, kVolume), "dB");
  EXPECT_EQ(text(effGetParamLabel, 3), "untouched");
  EXPECT_EQ(text(effGetParamDisplay, kDelay), "100.0000");
  EXPECT_EQ(text(effGetParamDisplay, kFeedback), "0.500000");
  EXPECT_EQ(text(effGetParamDisplay, 3), "untouched");
  record.setParameter(&record, kVolume, 0.0f);
  EXPECT_EQ(text(effGetParamDisplay, kVolume), "-oo");
  record.setParameter(&record, kVolume, 1.0f);
  EXPECT_EQ(text(effGetParamDisplay, kVolume), "0.000000");
  EXPECT_EQ(record.getParameter(&record, kVolume), 1.0f);
  EXPECT_EQ(record.getParameter(&record, 3), 0.0f);
}

TEST_F(ADelayTest, TextSetsParameterInTwoHundredths) {
  char fifty[] = "50";
  EXPECT_EQ(record.dispatcher(&record, effString2Parameter, kFeedback, 0, fifty, 0.0f), 1);
  EXPECT_EQ(record.getParameter(&record, kFeedback), 0.25f);
  char delayText[] = "100";
  EXPECT_TRUE(delay.string2parameter(kDelay, delayText));
  EXPECT_EQ(delay.getDelayLength(), 4410);
  EXPECT_EQ(record.getParameter(&record, kDelay), 0.5f);

  char notANumber[] = "abc";
  EXPECT_FALSE(delay.string2parameter(kVolume, notANumber));
  EXPECT_TRUE(delay.string2parameter(kVolume, nullptr));
  EXPECT_EQ(record.getParameter(&record, kVolume), 0.75f);
}

TEST_F(ADelayTest, ProgramsAreNumberedUntilRenamed) {
  for (VstInt32 program = 0; program < ADelay::kNumPrograms; ++program) {
    record.dispatcher(&record, effSetProgram, 0, program, nullptr, 0.0f);
    EXPECT_EQ(programName(), "Init " + std::to_string(program + 1));
  }
  record.dispatcher(&record, effSetProgram, 0, 3, nullptr, 0.0f);
  rename("Slapback");
  EXPECT_EQ(programName(), "Slapback");
  bool found = false;
  EXPECT_EQ(indexedName(3, &found), "Slapback");
  EXPECT_TRUE(found);
  EXPECT_EQ(indexedName(4, &found), "Init");
  EXPECT_TRUE(found);
  EXPECT_EQ(indexedName(16, &found), "untouched");
  EXPECT_FALSE(found);
  EXPECT_EQ(indexedName(-1, &found), "untouched");
  EXPECT_FALSE(found);
}

TEST_F(ADelayTest, LongProgramNameIsCut) {
  rename("a name much longer than the program field");
  EXPECT_EQ(programName(), "a name much longer than");
  EXPECT_EQ(indexedName(0), "a name much longer than");
}

TEST_F(ADelayTest, ProgramsRememberTheirValues) {
  record.dispatcher(&record, effSetProgram, 0, 2, nullptr, 0.0f);
  record.setParameter(&record, kDelay, 0.25f);
  record.setParameter(&record, kVolume, 0.125f);
  record.dispatcher(&record, effSetProgram, 0, 5, nullptr, 0.0f);
  EXPECT_EQ(record.getParameter(&record, kDelay), 0.5f);
  EXPECT_EQ(delay.getDelayLength(), 4410);
  record.dispatcher(&record, effSetProgram, 0, 2, nullptr, 0.0f);
  EXPECT_EQ(record.getParameter(&record, kDelay), 0.25f);
  EXPECT_EQ(record.getParameter(&record, kVolume), 0.125f);
  EXPECT_EQ(delay.getDelayLength(), 2205);
  EXPECT_EQ(record.getParameter(&record, kFeedback), 0.5f);
}

TEST_F(ADelayTest, ProgramNumbersOutsideRangeAreRejected) {
  record.dispatcher(&record, effSetProgram, 0, 2, nullptr, 0.0f);
  record.setParameter(&record, kDelay, 0.25f);
  for (VstInt32 bad : {-1, 16, 1000}) {
    delay.setProgram(bad);
    record.dispatcher(&record, effSetProgram, 0, bad, nullptr, 0.0f);
    EXPECT_EQ(delay.getProgram(), 2) << bad;
    EXPECT_EQ(record.getParameter(&record, kDelay), 0.25f) << bad;
  }
}

TEST_F(ADelayTest, IdentityThroughDispatcher) {
  expectIdentity(record, {"Delay", "Delay", 1100, CCONST('A', 'D', 'l', 'y'), 16, 1,
                          effFlagsCanReplacing | effFlagsHasVu});
}
