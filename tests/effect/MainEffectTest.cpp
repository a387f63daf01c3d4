#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "ArchiveTest.h"
#include "effect/ModuleDirectory.h"
#include "effect/ZrVelkoran.h"
#include "support/RecordingHost.h"
#include "support/TemporaryDirectory.h"
#include "support/ZipFixture.h"

namespace {

const std::string kDelayGraph = R"(<torvix><fx id="echo" type="delay"/></torvix>)";
const std::string kClipGraph = R"(<torvix><fx id="hard" type="clip"/></torvix>)";

// A main effect created as a host creates it, whose host answers the
// directory request with a test directory holding the archive.
class MainEffectTest : public ::testing::Test {
 protected:
  void TearDown() override {
    if (effect) dispatch(effClose);
    setModuleDirectory("");
  }

  void create(const std::vector<ZipFixtureMember>& members = {}) {
    if (!members.empty()) {
      ASSERT_TRUE(writeZipFixture(directory / "a.zip", members));
    }
    hostDirectory = directory.path().string();
    host.answerWith(audioMasterGetDirectory, reinterpret_cast<VstIntPtr>(hostDirectory.c_str()));
    effect = new ZrVelkoran(RecordingHost::callback);
  }

  VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f) {
    AEffect* record = effect->getAeffect();
    return record->dispatcher(record, opcode, index, value, ptr, opt);
  }

  std::string text(VstInt32 opcode, VstInt32 index = 0, const char* initial = "") {
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, "%s", initial);
    dispatch(opcode, index, 0, buffer);
    return buffer;
  }

  std::vector<float> processImpulse(std::size_t length) {
    std::vector<float> input(length, 0.0f);
    std::vector<float> output(length, 5.0f);
    input[0] = 1.0f;
    float* inputs[] = {input.data()};
    float* outputs[] = {output.data()};
    AEffect* record = effect->getAeffect();
    record->processReplacing(record, inputs, outputs, static_cast<VstInt32>(length));
    return output;
  }

  std::size_t impulseDelay() {
    const std::vector<float> output = processImpulse(9000);
    for (std::size_t i = 0; i < output.size(); ++i) {
      if (output[i] != 0.0f) return i;
    }
    return output.size();
  }

  RecordingHost host;
  TemporaryDirectory directory;
  std::string hostDirectory;
  ZrVelkoran* effect = nullptr;
};

TEST_F(MainEffectTest, ReportsItsIdentity) {
  create();
  const AEffect* record = effect->getAeffect();
  EXPECT_EQ(record->uniqueID, CCONST('K', 'w', 'r', 'x'));
  EXPECT_EQ(record->numInputs, 1);
  EXPECT_EQ(record->numOutputs, 1);
  EXPECT_EQ(record->numParams, 4);
  EXPECT_EQ(record->numPrograms, 1);
  EXPECT_EQ(record->flags, effFlagsCanReplacing | effFlagsHasVu | effFlagsCanMono | effFlagsNoSoundInStop |
                               effFlagsHasEditor);
  ERect* rect = nullptr;
  EXPECT_EQ(dispatch(effEditGetRect, 0, 0, &rect), 1);
  ASSERT_NE(rect, nullptr);
  EXPECT_EQ(rect->right - rect->left, 619);
  EXPECT_EQ(rect->bottom - rect->top, 265);
  EXPECT_EQ(text(effGetEffectName), "TorvixDistortion");
  EXPECT_EQ(text(effGetProductString), "TorvixDistortion");
  EXPECT_EQ(text(effGetVendorString), "Brelvanix");
  EXPECT_EQ(dispatch(effGetVendorVersion), 1100);
  EXPECT_EQ(dispatch(effGetTailSize), 1000);
  EXPECT_EQ(dispatch(effGetPlugCategory), kPlugCategEffect);
  EXPECT_EQ(dispatch(effCanDo, 0, 0, const_cast<char*>("receiveVstMidiEvent")), 0);
  EXPECT_TRUE(host.requests(audioMasterWantMidi).empty());
}

TEST_F(MainEffectTest, ProgramIsInitUntilRenamed) {
  create();
  EXPECT_EQ(text(effGetProgramName), "Init 1");
  char indexed[64] = "";
  EXPECT_EQ(dispatch(effGetProgramNameIndexed, 0, 0, indexed), 1);
  EXPECT_STREQ(indexed, "Init");
  EXPECT_EQ(dispatch(effGetProgramNameIndexed, 1, 0, indexed), 0);
  char name[] = "Crunchy";
  dispatch(effSetProgramName, 0, 0, name);
  EXPECT_EQ(text(effGetProgramName), "Crunchy");
  char longName[] = "a program name longer than the field";
  dispatch(effSetProgramName, 0, 0, longName);
  EXPECT_EQ(text(effGetProgramName).size(), static_cast<std::size_t>(kVstMaxProgNameLen - 1));
}

TEST_F(MainEffectTest, NamesItsFourParameters) {
  create();
  EXPECT_EQ(text(effGetParamName, 0), "Pre gain");
  EXPECT_EQ(text(effGetParamName, 1), "Post gain");
  EXPECT_EQ(text(effGetParamName, 2), "Pre bass");
  EXPECT_EQ(text(effGetParamName, 3), "Preset");
  EXPECT_EQ(text(effGetParamName, 4, "as it was"), "as it was");
  for (VstInt32 index = 0; index < 4; ++index) EXPECT_EQ(text(effGetParamLabel, index, "as it was"), "");
  EXPECT_EQ(text(effGetParamDisplay, 0), "1.297442");
  EXPECT_EQ(text(effGetParamDisplay, 1), "0.500000");
}

TEST_F(MainEffectTest, ParametersGoThroughTheEngine) {
  create({{"a.xml", "<torvix/>"}, {"b.xml", kDelayGraph}});
  AEffect* record = effect->getAeffect();
  record->setParameter(record, 0, 1.0f);
  EXPECT_EQ(record->getParameter(record, 0), 1.0f);
  EXPECT_EQ(text(effGetParamDisplay, 0), "3.436563");
  record->setParameter(record, 3, 0.99f);
  EXPECT_EQ(record->getParameter(record, 3), 0.0f);
  record->setParameter(record, 3, 1.0f);
  EXPECT_EQ(record->getParameter(record, 3), 1.0f);
  EXPECT_EQ(text(effGetParamDisplay, 3), "b.xml");
  record->setParameter(record, 9, 1.0f);
  EXPECT_EQ(record->getParameter(record, 9), 0.0f);
}

TEST_F(MainEffectTest, SampleRateReachesTheGraphAndTheEffect) {
  create({{"a.xml", kDelayGraph}});
  EXPECT_EQ(impulseDelay(), 4410u);
  dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
  EXPECT_EQ(effect->getSampleRate(), 48000.0f);
  EXPECT_EQ(impulseDelay(), 4800u);
}

TEST_F(MainEffectTest, HostParameterTextsStayWithTheMainEffect) {
  create({{"a.xml", kDelayGraph}});
  char typed[] = "50";
  EXPECT_EQ(dispatch(effString2Parameter, 0, 0, typed), 0);
  EXPECT_EQ(impulseDelay(), 4410u);
}

// Requests about programs and chunks are the main effect's alone: a tone
// played through a delay graph in two blocks comes out the same whether or
// not such a request arrives between the blocks.
TEST_F(MainEffectTest, ProgramAndChunkRequestsLeaveTheGraphAlone) {
  create({{"a.xml", kDelayGraph}});
  const auto playTwoBlocks = [](AEffect* record, VstInt32 opcode, VstIntPtr value) {
    std::vector<float> input(3000), output(6000);
    for (std::size_t i = 0; i < input.size(); ++i) input[i] = std::sin(0.05f * static_cast<float>(i));
    float* inputs[] = {input.data()};
    float* first[] = {output.data()};
    float* second[] = {output.data() + input.size()};
    char name[kVstMaxProgNameLen] = "Renamed";
    record->processReplacing(record, inputs, first, 3000);
    if (opcode >= 0) record->dispatcher(record, opcode, 0, value, name, 0.0f);
    record->processReplacing(record, inputs, second, 3000);
    return output;
  };
  const std::vector<float> undisturbed = playTwoBlocks(effect->getAeffect(), -1, 0);
  struct Request {
    VstInt32 opcode;
    VstIntPtr value;
  };
  for (const Request request : {Request{effSetProgram, 0}, Request{effSetProgram, 5}, Request{effSetProgramName, 0},
                                Request{effBeginSetProgram, 0}, Request{effEndSetProgram, 0},
                                Request{effSetChunk, kVstMaxProgNameLen}, Request{effBeginLoadBank, 0},
                                Request{effBeginLoadProgram, 0}}) {
    auto fresh = std::make_unique<ZrVelkoran>(RecordingHost::callback);
    EXPECT_EQ(playTwoBlocks(fresh->getAeffect(), request.opcode, request.value), undisturbed)
        << "opcode " << request.opcode << " value " << request.value;
  }
}

TEST_F(MainEffectTest, NegativeProgramNumbersChangeNothing) {
  create();
  dispatch(effSetProgram, 0, -1);
  EXPECT_EQ(dispatch(effGetProgram), 0);
  EXPECT_EQ(text(effGetProgramName), "Init 1");
}

TEST_F(MainEffectTest, ProcessorsNeverWriteIntoTheHostsTexts) {
  create({{"a.xml", kClipGraph}});
  EXPECT_EQ(text(effGetParamName, 4, "as it was"), "as it was");
  EXPECT_EQ(text(effGetParamDisplay, 4, "as it was"), "as it was");
}

TEST_F(MainEffectTest, BothProcessEntriesReplaceTheOutput) {
  create();
  std::vector<float> input(64, 0.5f);
  std::vector<float> replaced(64, 3.0f);
  std::vector<float> accumulated(64, 3.0f);
  float* inputs[] = {input.data()};
  float* replacedOutputs[] = {replaced.data()};
  float* accumulatedOutputs[] = {accumulated.data()};
  AEffect* record = effect->getAeffect();
  record->processReplacing(record, inputs, replacedOutputs, 64);
  record->process(record, inputs, accumulatedOutputs, 64);
  EXPECT_EQ(replaced, accumulated);
  EXPECT_FLOAT_EQ(replaced[10], 0.5f * 2.0f / 9.0f);
}

TEST_F(MainEffectTest, TheHostsDirectoryLocatesTheArchive) {
  create({{"only.xml", "<torvix/>"}});
  EXPECT_EQ(moduleDirectory(), hostDirectory + static_cast<char>(std::filesystem::path::preferred_separator));
  EXPECT_EQ(effect->descriptions(), std::vector<std::string>{"only.xml"});
}

// One thread plays blocks while another turns every knob; every block must
// come out whole and finite.
TEST_F(MainEffectTest, ParameterChangesDuringPlaybackAreSafe) {
  create({{"a.xml", kDelayGraph}, {"b.xml", kClipGraph}, {"c.xml", "<torvix/>"}});
  AEffect* record = effect->getAeffect();
  std::atomic<bool> playing{true};
  std::atomic<int> blocks{0};
  std::thread audio([&] {
    std::vector<float> input(512), output(512);
    for (std::size_t i = 0; i < input.size(); ++i) input[i] = std::sin(0.05f * static_cast<float>(i));
    float* inputs[] = {input.data()};
    float* outputs[] = {output.data()};
    while (playing) {
      record->processReplacing(record, inputs, outputs, 512);
      for (float sample : output) ASSERT_TRUE(std::isfinite(sample));
      ++blocks;
    }
  });
  for (int change = 0; change < 3000; ++change) {
    record->setParameter(record, change % 4,
                         change % 4 == 3 ? float(change % 3) : float(change % 11) / 10.0f);
  }
  playing = false;
  audio.join();
  EXPECT_GT(blocks.load(), 0);
}

}  // namespace
