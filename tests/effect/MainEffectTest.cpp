#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <future>
#include <limits>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "AllocationFailure.h"
#include "ArchiveTest.h"
#include "HeldBuild.h"
#include "effect/ModuleDirectory.h"
#include "effect/ResourceArchive.h"
#include "effect/ZrVelkoran.h"
#include "graph/BufferBank.h"
#include "support/RecordingHost.h"
#include "support/TemporaryDirectory.h"
#include "support/Watchdog.h"
#include "support/ZipFixture.h"

namespace {

const std::string kDelayGraph = R"(<torvix><fx id="echo" type="delay"/></torvix>)";
const std::string kClipGraph = R"(<torvix><fx id="hard" type="clip"/></torvix>)";
const std::string kInverterGraph = R"(<torvix><fx id="flip" type="inv"/></torvix>)";

// A main effect created as a host creates it, whose host answers the
// directory request with a test directory holding the archive.
class MainEffectTest : public ::testing::Test {
 protected:
  void TearDown() override {
    if (effect) dispatch(effClose);
    setModuleDirectory("");
  }

  void create(const std::vector<ZipFixtureMember>& members = {},
              ZrVelkoran::EditorFactory makeEditor = ZrVelkoran::pluginEditor) {
    if (!members.empty()) {
      ASSERT_TRUE(writeZipFixture(directory / "a.zip", members));
    }
    hostDirectory = directory.path().string();
    host.answerWith(audioMasterGetDirectory, reinterpret_cast<VstIntPtr>(hostDirectory.c_str()));
    effect = new ZrVelkoran(RecordingHost::callback, makeEditor);
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

  // The output of a block of input, through the record as a host plays it.
  static std::vector<float> play(AEffect* record, std::vector<float> input) {
    std::vector<float> output(input.size(), 5.0f);
    float* inputs[] = {input.data()};
    float* outputs[] = {output.data()};
    record->processReplacing(record, inputs, outputs, static_cast<VstInt32>(input.size()));
    return output;
  }

  static std::vector<float> tone(std::size_t length) {
    std::vector<float> samples(length);
    for (std::size_t i = 0; i < length; ++i) samples[i] = std::sin(0.05f * static_cast<float>(i));
    return samples;
  }

  static std::string displayOf(AEffect* record, VstInt32 index) {
    char buffer[128] = "";
    record->dispatcher(record, effGetParamDisplay, index, 0, buffer, 0.0f);
    return buffer;
  }

  // Whether another thread (the host's audio thread) can play a block within
  // seconds; false when the engine lock is left held. A thread that hangs is
  // left behind.
  static bool playsOnAnotherThread(AEffect* record) {
    auto played = std::make_shared<std::promise<void>>();
    std::future<void> done = played->get_future();
    std::thread([record, played] {
      play(record, tone(512));
      played->set_value();
    }).detach();
    return done.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
  }

  // Picks description 1 on another thread and, while that build is held once built, does
  // during; then lets the build end.
  template <typename During>
  void whileDescriptionOneBuilds(const std::string& name, During during) {
    Watchdog watchdog(std::chrono::seconds(60), "work while " + name + " builds");
    AEffect* record = effect->getAeffect();
    HeldBuild held(name);
    std::thread picker([record] { record->setParameter(record, 3, 1.0f); });
    held.waitUntilHeld();
    during();
    held.release();
    picker.join();
  }

  // Another effect on the same archive, to compare with.
  static std::unique_ptr<ZrVelkoran> twin() { return std::make_unique<ZrVelkoran>(RecordingHost::callback); }

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

// The LV2 DSP module's effect: the same in all but the window.
TEST_F(MainEffectTest, MadeWithoutEditorItHasNoneAndWorksTheSame) {
  create({{"a.xml", "<torvix/>"}, {"b.xml", kDelayGraph}}, nullptr);
  AEffect* record = effect->getAeffect();
  EXPECT_EQ(record->flags & effFlagsHasEditor, 0);
  EXPECT_EQ(effect->getEditor(), nullptr);
  ERect* rect = nullptr;
  EXPECT_EQ(dispatch(effEditGetRect, 0, 0, &rect), 0);
  EXPECT_EQ(dispatch(effEditOpen), 0);
  record->setParameter(record, 0, 1.0f);
  record->setParameter(record, 3, 1.0f);
  EXPECT_EQ(record->getParameter(record, 0), 1.0f);
  EXPECT_EQ(text(effGetParamDisplay, 3), "b.xml");
  // An edit's bracket goes to the host alone: there is no editor to reach.
  effect->beginEdit(0);
  effect->endEdit(0);
  EXPECT_EQ(play(record, tone(512)).size(), 512u);
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
    std::vector<float> output = play(record, tone(3000));
    char name[kVstMaxProgNameLen] = "Renamed";
    if (opcode >= 0) record->dispatcher(record, opcode, 0, value, name, 0.0f);
    const std::vector<float> second = play(record, tone(3000));
    output.insert(output.end(), second.begin(), second.end());
    return output;
  };
  const std::vector<float> undisturbed = playTwoBlocks(effect->getAeffect(), -1, 0);
  struct Request {
    VstInt32 opcode;
    VstIntPtr value;
  };
  for (const Request request : {Request{effSetProgram, 0}, Request{effSetProgram, 5},
                                Request{effSetProgramName, 0}, Request{effBeginSetProgram, 0},
                                Request{effEndSetProgram, 0}, Request{effSetChunk, kVstMaxProgNameLen},
                                Request{effBeginLoadBank, 0}, Request{effBeginLoadProgram, 0}}) {
    EXPECT_EQ(playTwoBlocks(twin()->getAeffect(), request.opcode, request.value), undisturbed)
        << "opcode " << request.opcode << " value " << request.value;
  }
}

TEST_F(MainEffectTest, NegativeProgramNumbersChangeNothing) {
  create();
  dispatch(effSetProgram, 0, -1);
  EXPECT_EQ(dispatch(effGetProgram), 0);
  EXPECT_EQ(text(effGetProgramName), "Init 1");
}

// Automation glitches and damaged sessions send such values; one of them
// used to poison the filters' histories for good.
TEST_F(MainEffectTest, NonFiniteParameterValuesChangeNothing) {
  create({{"a.xml", kClipGraph}});
  AEffect* record = effect->getAeffect();
  const std::vector<float> expected = play(twin()->getAeffect(), tone(2048));
  for (VstInt32 index = 0; index < 3; ++index) {
    for (float value : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                        -std::numeric_limits<float>::infinity()}) {
      record->setParameter(record, index, value);
      EXPECT_EQ(record->getParameter(record, index), 0.5f) << index << " " << value;
    }
  }
  EXPECT_EQ(play(record, tone(2048)), expected);
}

TEST_F(MainEffectTest, ValuesOutsideTheRangeAreHeldToIt) {
  create({{"a.xml", kClipGraph}});
  AEffect* record = effect->getAeffect();
  struct Case {
    VstInt32 index;
    float value;
    float held;
  };
  for (const Case sent :
       {Case{0, -1.0f, 0.0f}, Case{0, 2.0f, 1.0f}, Case{0, 1e30f, 1.0f}, Case{1, -1e30f, 0.0f},
        Case{1, 1.5f, 1.0f}, Case{2, -0.25f, 0.0f}, Case{2, 3.0f, 1.0f}}) {
    auto reference = twin();
    AEffect* referenceRecord = reference->getAeffect();
    referenceRecord->setParameter(referenceRecord, sent.index, sent.held);
    record->setParameter(record, sent.index, sent.value);
    EXPECT_EQ(record->getParameter(record, sent.index), sent.held) << sent.index << " " << sent.value;
    EXPECT_EQ(text(effGetParamDisplay, sent.index), displayOf(referenceRecord, sent.index));
    EXPECT_EQ(play(record, tone(512)), play(referenceRecord, tone(512))) << sent.index << " " << sent.value;
    record->setParameter(record, sent.index, 0.5f);
  }
}

// Memory that runs out anywhere in a "Preset" load (reading the member,
// parsing, building) must neither reach the host as an exception nor leave
// the engine lock held: the old graph plays on, on any thread.
TEST_F(MainEffectTest, APresetLoadWithoutMemoryKeepsTheOldGraphPlaying) {
  create({{"a.xml", kDelayGraph}, {"b.xml", kClipGraph}});
  AEffect* record = effect->getAeffect();
  long allowed = 0;
  for (bool struck = true; struck; ++allowed) {
    {
      AllocationFailure failure(allowed);
      record->setParameter(record, 3, 1.0f);
      struck = failure.struck();
    }
    if (!struck) break;
    ASSERT_EQ(record->getParameter(record, 3), 0.0f) << "after " << allowed << " allocations";
    ASSERT_TRUE(playsOnAnotherThread(record)) << "after " << allowed << " allocations";
    play(record, std::vector<float>(4410, 0.0f));
    ASSERT_EQ(impulseDelay(), 4410u) << "after " << allowed << " allocations";
  }
  EXPECT_GT(allowed, 10);
  EXPECT_EQ(record->getParameter(record, 3), 1.0f);
  EXPECT_FALSE(isArchiveOpen());
}

// While another thread's "Preset" build is held, the audio thread plays block after block,
// and reads, other parameters and forwarded requests go on: were any of them waiting for
// the build, the watchdog would end the test.
TEST_F(MainEffectTest, APresetBuildNeverHoldsUpTheAudioThread) {
  create({{"a.xml", kInverterGraph}, {"b.xml", kDelayGraph}});
  AEffect* record = effect->getAeffect();
  whileDescriptionOneBuilds("b.xml", [&] {
    const std::vector<float> block = tone(64);
    for (int played = 0; played < 200; ++played) ASSERT_EQ(play(record, block).size(), block.size());
    EXPECT_EQ(record->getParameter(record, 3), 0.0f);
    EXPECT_EQ(displayOf(record, 3), "a.xml");
    record->setParameter(record, 1, 0.7f);
    dispatch(effMainsChanged, 0, 1);
  });
  EXPECT_EQ(record->getParameter(record, 3), 1.0f);
  play(record, std::vector<float>(4410, 0.0f));
  EXPECT_EQ(impulseDelay(), 4410u);
}

// The change asked for first is still building when a later one is installed: when it ends
// it gives way, and is destroyed by its own thread (the leak checks see the rest).
TEST_F(MainEffectTest, OfRacingPresetChangesTheLastAskedForPlays) {
  create({{"a.xml", kInverterGraph}, {"b.xml", kDelayGraph}, {"c.xml", kClipGraph}});
  AEffect* record = effect->getAeffect();
  whileDescriptionOneBuilds("b.xml", [&] {
    record->setParameter(record, 3, 2.0f);
    EXPECT_EQ(record->getParameter(record, 3), 2.0f);
  });
  EXPECT_EQ(record->getParameter(record, 3), 2.0f);
  EXPECT_EQ(displayOf(record, 3), "c.xml");
  std::unique_ptr<ZrVelkoran> clipping = twin();
  clipping->setParameter(3, 2.0f);
  EXPECT_EQ(play(record, tone(2048)), play(clipping->getAeffect(), tone(2048)));
}

// A rate forwarded while a graph builds reaches only the old graph; the new one must still
// run at it.
TEST_F(MainEffectTest, ARateForwardedDuringABuildReachesTheNewGraph) {
  create({{"a.xml", kInverterGraph}, {"b.xml", kDelayGraph}});
  whileDescriptionOneBuilds("b.xml", [&] { dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f); });
  play(effect->getAeffect(), std::vector<float>(4800, 0.0f));
  EXPECT_EQ(impulseDelay(), 4800u);
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

// Plays blocks of a constant input through a record: once the input
// filters have settled, every state of the effect gives a constant output.
class SteadyPlayer {
 public:
  SteadyPlayer(AEffect* record, VstInt32 blockLength)
      : record(record), input(static_cast<std::size_t>(blockLength), 0.5f), output(input.size()) {}

  const std::vector<float>& play() {
    float* inputs[] = {input.data()};
    float* outputs[] = {output.data()};
    record->processReplacing(record, inputs, outputs, static_cast<VstInt32>(input.size()));
    return output;
  }

 private:
  AEffect* record;
  std::vector<float> input;
  std::vector<float> output;
};

// True when every sample of the block is the settled output of one state.
bool isWhole(const std::vector<float>& block, const std::vector<float>& stateOutputs) {
  for (float state : stateOutputs) {
    const float tolerance = 1e-5f * std::max(1.0f, std::fabs(state));
    if (std::all_of(block.begin(), block.end(), [&](float s) { return std::fabs(s - state) <= tolerance; }))
      return true;
  }
  return false;
}

// One thread plays blocks while another switches the graph and both gains.
// Every block must come out whole: the output of one state of the effect,
// never a block played half with the old graph and half with the new, or
// with a parameter half applied. A deadlock fails the test through the
// watchdog instead of hanging it.
TEST_F(MainEffectTest, ParameterChangesDuringPlaybackAreSafe) {
  Watchdog watchdog(std::chrono::seconds(120), "playback while parameters change");
  create({{"through.xml", "<torvix/>"}, {"flip.xml", kInverterGraph}});
  AEffect* record = effect->getAeffect();
  const float presets[] = {0.0f, 1.0f};
  const float preGains[] = {0.3f, 0.9f};
  const float postGains[] = {0.4f, 1.0f};
  SteadyPlayer settling(record, 150000);
  settling.play();  // the input filters settle; graphs and gains hold no state
  std::vector<float> stateOutputs;
  for (float preset : presets)
    for (float preGain : preGains)
      for (float postGain : postGains) {
        record->setParameter(record, 3, preset);
        record->setParameter(record, 0, preGain);
        record->setParameter(record, 1, postGain);
        const std::vector<float>& block = settling.play();
        stateOutputs.push_back(block.back());
        ASSERT_TRUE(isWhole(block, stateOutputs));
      }
  // Blocks of four of the engine's buffers: the engine works through each
  // in four pieces, long enough for changes to land in between.
  SteadyPlayer player(record, 4 * BufferBank::kBufferLength);
  std::atomic<bool> playing{true};
  std::vector<float> tornBlock;
  std::thread audio([&] {
    for (int block = 0; block < 10 && tornBlock.empty(); ++block) {
      const std::vector<float>& output = player.play();
      if (!isWhole(output, stateOutputs)) tornBlock = output;
      std::this_thread::yield();  // hosts leave time between blocks
    }
    playing = false;
  });
  int changes = 0;
  for (; playing; ++changes) {
    switch (changes % 3) {
      case 0:
        record->setParameter(record, 3, presets[changes / 3 % 2]);
        break;
      case 1:
        record->setParameter(record, 0, preGains[changes / 7 % 2]);
        break;
      default:
        record->setParameter(record, 1, postGains[changes / 5 % 2]);
        break;
    }
  }
  audio.join();
  EXPECT_GT(changes, 0);
  EXPECT_TRUE(tornBlock.empty()) << "a block mixed two states, from " << tornBlock.front() << " to "
                                 << tornBlock.back();
}

}  // namespace
