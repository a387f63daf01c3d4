#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "frame/AEffEditor.h"
#include "support/RecordingHost.h"
#include "support/SilentEffect.h"

namespace {

// An effect with a few answers of its own, to see that the dispatcher
// reaches the virtual operations.
class AnsweringEffect : public SilentEffect {
 public:
  using SilentEffect::SilentEffect;
  float getVu() override { return vu; }
  VstInt32 canDo(char* text) override { return std::strcmp(text, "bypass") == 0 ? 1 : -1; }
  bool keysRequired() override { return needsKeys; }
  void setProgram(VstInt32 program) override {
    AudioEffect::setProgram(program);
    ++programCalls;
  }

  float vu = 0.0f;
  bool needsKeys = false;
  int programCalls = 0;
};

// An editor that records the key codes it receives.
class KeyEditor : public AEffEditor {
 public:
  using AEffEditor::AEffEditor;
  bool onKeyDown(VstKeyCode& keyCode) override {
    lastKey = keyCode;
    return true;
  }
  bool getRect(ERect** rect) override {
    *rect = &rectangle;
    return true;
  }
  VstKeyCode lastKey{};
  ERect rectangle{0, 0, 265, 619};
};

class DispatcherTest : public ::testing::Test {
 protected:
  VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f) {
    AEffect* record = effect->getAeffect();
    return record->dispatcher(record, opcode, index, value, ptr, opt);
  }

  RecordingHost host;
  AnsweringEffect* effect = new AnsweringEffect(RecordingHost::callback, 4, 2);

  void TearDown() override {
    if (effect) dispatch(effClose);
  }
};

TEST_F(DispatcherTest, RecordStartsWithTheBaseSettings) {
  const AEffect* record = effect->getAeffect();
  EXPECT_EQ(record->magic, CCONST('V', 's', 't', 'P'));
  EXPECT_EQ(record->numPrograms, 4);
  EXPECT_EQ(record->numParams, 2);
  EXPECT_EQ(record->numInputs, 1);
  EXPECT_EQ(record->numOutputs, 2);
  EXPECT_EQ(record->flags, effFlagsCanReplacing);
  EXPECT_EQ(record->uniqueID, CCONST('N', 'o', 'E', 'f'));
  EXPECT_EQ(record->version, 1);
  EXPECT_FLOAT_EQ(record->ioRatio, 1.0f);
  EXPECT_EQ(record->object, effect);
}

TEST_F(DispatcherTest, SetProgramIsBoundedByTheProgramCount) {
  dispatch(effSetProgram, 0, 3);
  EXPECT_EQ(dispatch(effGetProgram), 3);
  dispatch(effSetProgram, 0, 4);
  EXPECT_EQ(dispatch(effGetProgram), 3);
  dispatch(effSetProgram, 0, -1);
  EXPECT_EQ(dispatch(effGetProgram), 3);
  EXPECT_EQ(effect->programCalls, 1);
}

TEST_F(DispatcherTest, CloseThroughTheRecordDeletesTheEffect) {
  const int before = SilentEffect::liveInstances;
  EXPECT_EQ(dispatch(effClose), 1);
  EXPECT_EQ(SilentEffect::liveInstances, before - 1);
  effect = nullptr;
}

TEST_F(DispatcherTest, DirectCloseOnlyCallsClose) {
  const int before = SilentEffect::liveInstances;
  EXPECT_EQ(effect->dispatcher(effClose, 0, 0, nullptr, 0.0f), 0);
  EXPECT_EQ(effect->closeCalls, 1);
  EXPECT_EQ(SilentEffect::liveInstances, before);
}

TEST_F(DispatcherTest, IdentityVersionAndKeys) {
  EXPECT_EQ(dispatch(effIdentify), CCONST('N', 'v', 'E', 'f'));
  EXPECT_EQ(dispatch(effGetVstVersion), 2400);
  EXPECT_EQ(dispatch(effKeysRequired), 1);
  effect->needsKeys = true;
  EXPECT_EQ(dispatch(effKeysRequired), 0);
}

TEST_F(DispatcherTest, CanDoAnswerIsPassedUnchanged) {
  char bypass[] = "bypass";
  char other[] = "sendVstEvents";
  EXPECT_EQ(dispatch(effCanDo, 0, 0, bypass), 1);
  EXPECT_EQ(dispatch(effCanDo, 0, 0, other), -1);
}

TEST_F(DispatcherTest, VuIsScaledTo32767) {
  effect->vu = 0.5f;
  EXPECT_EQ(dispatch(effGetVu), 16383);
  effect->vu = 1.0f;
  EXPECT_EQ(dispatch(effGetVu), 32767);
}

TEST_F(DispatcherTest, EditorOpcodesWithoutEditorAnswerZero) {
  ERect* rect = reinterpret_cast<ERect*>(1);
  EXPECT_EQ(dispatch(effEditGetRect, 0, 0, &rect), 0);
  EXPECT_EQ(dispatch(effEditOpen), 0);
  EXPECT_EQ(dispatch(effEditClose), 0);
  EXPECT_EQ(dispatch(effEditIdle), 0);
  EXPECT_EQ(dispatch(effEditKeyDown, 'a', VKEY_LEFT, nullptr, 8.0f), 0);
  EXPECT_EQ(dispatch(effSetEditKnobMode, 0, 1), 0);
}

TEST_F(DispatcherTest, EditorReceivesKeyCodesAndReportsItsRectangle) {
  auto* editor = new KeyEditor(effect);
  effect->setEditor(editor);
  EXPECT_EQ(dispatch(effEditKeyDown, 'a', VKEY_LEFT, nullptr, 8.0f), 1);
  EXPECT_EQ(editor->lastKey.character, 'a');
  EXPECT_EQ(editor->lastKey.virt, VKEY_LEFT);
  EXPECT_EQ(editor->lastKey.modifier, MODIFIER_CONTROL);
  ERect* rect = nullptr;
  EXPECT_EQ(dispatch(effEditGetRect, 0, 0, &rect), 1);
  ASSERT_NE(rect, nullptr);
  EXPECT_EQ(rect->right, 619);
}

TEST_F(DispatcherTest, MainsChangedSuspendsAndResumes) {
  dispatch(effMainsChanged, 0, 1);
  EXPECT_TRUE(host.requests(audioMasterWantMidi).empty());
  effect->isSynth();
  dispatch(effMainsChanged, 0, 1);
  ASSERT_EQ(host.requests(audioMasterWantMidi).size(), 1u);
  EXPECT_EQ(host.requests(audioMasterWantMidi)[0].value, 1);
}

TEST_F(DispatcherTest, SampleRateBlockSizeAndCategory) {
  dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
  dispatch(effSetBlockSize, 0, 256);
  EXPECT_FLOAT_EQ(effect->getSampleRate(), 48000.0f);
  EXPECT_EQ(effect->getBlockSize(), 256);
  EXPECT_EQ(dispatch(effGetPlugCategory), kPlugCategUnknown);
  effect->isSynth();
  EXPECT_EQ(dispatch(effGetPlugCategory), kPlugCategSynth);
  dispatch(effSetBlockSizeAndSampleRate, 0, 64, nullptr, 22050.0f);
  EXPECT_EQ(effect->getBlockSize(), 64);
  EXPECT_FLOAT_EQ(effect->getSampleRate(), 22050.0f);
}

TEST_F(DispatcherTest, BooleanRowsAnswerZeroByDefault) {
  char text[64] = "unchanged";
  EXPECT_EQ(dispatch(effCanBeAutomated, 0), 1);
  EXPECT_EQ(dispatch(effString2Parameter, 0, 0, text), 0);
  EXPECT_EQ(dispatch(effGetProgramNameIndexed, 0, 0, text), 0);
  EXPECT_EQ(dispatch(effGetEffectName, 0, 0, text), 0);
  EXPECT_EQ(dispatch(effGetVendorString, 0, 0, text), 0);
  EXPECT_EQ(dispatch(effSetBypass, 0, 1), 0);
  EXPECT_EQ(dispatch(effGetTailSize), 0);
  EXPECT_EQ(dispatch(effGetNumProgramCategories), 1);
  EXPECT_EQ(dispatch(effGetCurrentMidiProgram), -1);
  EXPECT_STREQ(text, "unchanged");
}

TEST_F(DispatcherTest, AutomatedParameterReachesTheHost) {
  effect->setParameterAutomated(1, 0.25f);
  ASSERT_EQ(host.requests(audioMasterAutomate).size(), 1u);
  EXPECT_EQ(host.requests(audioMasterAutomate)[0].index, 1);
  EXPECT_FLOAT_EQ(host.requests(audioMasterAutomate)[0].opt, 0.25f);
}

TEST_F(DispatcherTest, PinQueriesAreTrueOnlyForAnAnswerOfZero) {
  EXPECT_TRUE(effect->isOutputConnected(1));
  host.answerWith(audioMasterPinConnected, 1);
  EXPECT_FALSE(effect->isOutputConnected(1));
  EXPECT_FALSE(effect->isInputConnected(0));
  host.answerWith(audioMasterPinConnected, -1);
  EXPECT_FALSE(effect->isOutputConnected(0));
  ASSERT_FALSE(host.requests(audioMasterPinConnected).empty());
  EXPECT_EQ(host.requests(audioMasterPinConnected).back().value, 1);
}

TEST_F(DispatcherTest, MasterVersionFallsBackToOne) {
  EXPECT_EQ(effect->getMasterVersion(), 1);
  host.answerWith(audioMasterVersion, 2400);
  EXPECT_EQ(effect->getMasterVersion(), 2400);
}

TEST_F(DispatcherTest, UpdateSampleRateKeepsTheRateOnANonPositiveAnswer) {
  effect->setSampleRate(44100.0f);
  EXPECT_DOUBLE_EQ(effect->updateSampleRate(), 44100.0);
  host.answerWith(audioMasterGetSampleRate, 96000);
  EXPECT_DOUBLE_EQ(effect->updateSampleRate(), 96000.0);
}

TEST(EffectWithoutHost, SkipsEveryHostCall) {
  SilentEffect effect(nullptr);
  EXPECT_EQ(effect.getMasterVersion(), 1);
  EXPECT_TRUE(effect.isInputConnected(1));
  EXPECT_TRUE(effect.isOutputConnected(1));
  EXPECT_FALSE(effect.beginEdit(0));
  EXPECT_FALSE(effect.updateDisplay());
  EXPECT_EQ(effect.getTimeInfo(0), nullptr);
  EXPECT_EQ(effect.getDirectory(), nullptr);
  EXPECT_DOUBLE_EQ(effect.updateSampleRate(), 44100.0);
  effect.setParameterAutomated(0, 0.5f);
}

TEST(SpeakerTools, AllocateGivesAZeroedArrangementOfTheChannelCount) {
  SilentEffect effect(nullptr);
  VstSpeakerArrangement* arrangement = nullptr;
  ASSERT_TRUE(effect.allocateArrangement(&arrangement, 12));
  EXPECT_EQ(arrangement->numChannels, 12);
  EXPECT_EQ(arrangement->speakers[7].type, 0);
  VstSpeakerArrangement* copy = nullptr;
  arrangement->type = 7;
  ASSERT_TRUE(effect.matchArrangement(&copy, arrangement));
  EXPECT_EQ(copy->type, 7);
  EXPECT_TRUE(effect.deallocateArrangement(&arrangement));
  EXPECT_TRUE(effect.deallocateArrangement(&copy));
  EXPECT_EQ(arrangement, nullptr);
}

}  // namespace
