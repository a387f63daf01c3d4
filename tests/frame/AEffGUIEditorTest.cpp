#include <gtest/gtest.h>

#include "frame/AEffGUIEditor.h"
#include "frame/EditorFrame.h"
#include "support/RecordingHost.h"
#include "support/ScriptedIdleServices.h"
#include "support/SilentEffect.h"

namespace {

// A frame that counts what the editor base asks of it.
class CountingFrame : public EditorFrame {
 public:
  void release() override { ++releases; }
  void idle() override { ++idles; }
  VstInt32 onKeyDown(VstKeyCode& keyCode) override {
    lastKey = keyCode;
    return keyAnswer;
  }
  VstInt32 onKeyUp(VstKeyCode&) override { return keyAnswer; }
  bool onWheelAtMouse(float distance) override {
    wheelDistance = distance;
    return true;
  }

  int releases = 0;
  int idles = 0;
  VstInt32 keyAnswer = 1;
  VstKeyCode lastKey{};
  float wheelDistance = 0.0f;
};

// An editor whose frame the test attaches and detaches.
class TestEditor : public AEffGUIEditor {
 public:
  TestEditor(AudioEffectX* effect, IdleServices& services) : AEffGUIEditor(effect, services) {}
  void attach(EditorFrame* newFrame) { frame = newFrame; }
  void setRectangle(ERect rect) { rectangle = rect; }
};

class AEffGUIEditorTest : public ::testing::Test {
 protected:
  AEffGUIEditorTest() : effect(new SilentEffect(RecordingHost::callback)) {
    editor = new TestEditor(effect.get(), services);
  }
  ~AEffGUIEditorTest() override { editor->attach(nullptr); }

  // One idle pass at the current time, then the requests are forgotten.
  void passAt(std::uint32_t tick) {
    services.now = tick;
    editor->doIdleStuff();
    host.clear();
    services.sleeps.clear();
    frame.idles = 0;
  }
  int passes() const { return static_cast<int>(host.requests(audioMasterIdle).size()); }

  RecordingHost host;
  ScriptedIdleServices services;
  std::unique_ptr<SilentEffect> effect;
  TestEditor* editor;  // owned by the effect
  CountingFrame frame;
};

TEST_F(AEffGUIEditorTest, BecomesTheEffectsEditorAndOffersIt) {
  EXPECT_EQ(effect->getEditor(), editor);
  EXPECT_TRUE(effect->getAeffect()->flags & effFlagsHasEditor);
}

TEST_F(AEffGUIEditorTest, ReportsItsRectangle) {
  editor->setRectangle(ERect{0, 0, 265, 619});
  ERect* rect = nullptr;
  EXPECT_EQ(effect->dispatcher(effEditGetRect, 0, 0, &rect, 0.0f), 1);
  ASSERT_NE(rect, nullptr);
  EXPECT_EQ(rect->right, 619);
  EXPECT_EQ(rect->bottom, 265);
}

TEST_F(AEffGUIEditorTest, KeysAndWheelNeedAFrame) {
  VstKeyCode key{0, VKEY_UP, 0};
  EXPECT_FALSE(editor->onKeyDown(key));
  EXPECT_FALSE(editor->onKeyUp(key));
  EXPECT_FALSE(editor->onWheel(1.0f));
}

TEST_F(AEffGUIEditorTest, KeysCountAsUsedOnlyWhenTheFrameAnswersOne) {
  editor->attach(&frame);
  VstKeyCode key{'a', 0, MODIFIER_SHIFT};
  EXPECT_TRUE(editor->onKeyDown(key));
  EXPECT_EQ(frame.lastKey.character, 'a');
  frame.keyAnswer = -1;
  EXPECT_FALSE(editor->onKeyDown(key));
  EXPECT_FALSE(editor->onKeyUp(key));
}

TEST_F(AEffGUIEditorTest, WheelReachesTheFrame) {
  editor->attach(&frame);
  EXPECT_TRUE(editor->onWheel(-1.0f));
  EXPECT_EQ(frame.wheelDistance, -1.0f);
}

TEST_F(AEffGUIEditorTest, KnobModeIsStoredToolkitWide) {
  EXPECT_TRUE(editor->setKnobMode(2));
  EXPECT_EQ(AEffGUIEditor::getKnobMode(), 2);
  editor->setKnobMode(0);
}

TEST_F(AEffGUIEditorTest, EditBracketReachesTheHost) {
  editor->beginEdit(2);
  editor->endEdit(2);
  ASSERT_EQ(host.requests(audioMasterBeginEdit).size(), 1u);
  EXPECT_EQ(host.requests(audioMasterBeginEdit)[0].index, 2);
  EXPECT_EQ(host.requests(audioMasterEndEdit).size(), 1u);
}

TEST_F(AEffGUIEditorTest, IdleStepAtTheDueTimeRunsAPassAtOnce) {
  editor->attach(&frame);
  passAt(5000);
  services.now = 5100;
  editor->doIdleStuff();
  EXPECT_TRUE(services.sleeps.empty());
  EXPECT_EQ(frame.idles, 1);
  EXPECT_EQ(services.paintPumps, 2);
  EXPECT_EQ(passes(), 1);
}

TEST_F(AEffGUIEditorTest, IdleStepWellBeforeTheDueTimeOnlySleeps) {
  editor->attach(&frame);
  passAt(5000);
  services.now = 5045;
  editor->doIdleStuff();
  EXPECT_EQ(services.sleeps, std::vector<std::uint32_t>{4});
  EXPECT_EQ(frame.idles, 0);
  EXPECT_EQ(passes(), 0);
}

TEST_F(AEffGUIEditorTest, IdleStepWithinTheSlackSleepsThenRunsAPass) {
  editor->attach(&frame);
  passAt(5000);
  services.now = 5046;
  editor->doIdleStuff();
  EXPECT_EQ(services.sleeps, std::vector<std::uint32_t>{4});
  EXPECT_EQ(frame.idles, 1);
  EXPECT_EQ(passes(), 1);
  // The next pass is due 100 ms after the time the pass counted (5050, not
  // 5046), so a call at 5094 is still too early even after its wait.
  services.now = 5094;
  editor->doIdleStuff();
  EXPECT_EQ(passes(), 1);
}

TEST(AEffGUIEditorWrapTest, IdleStepPacesAcrossTheTickWrap) {
  RecordingHost host;
  ScriptedIdleServices services;
  services.now = 0xFFFFFFF0u;
  SilentEffect effect(RecordingHost::callback);
  new TestEditor(&effect, services);
  static_cast<AEffGUIEditor*>(effect.getEditor())->doIdleStuff();
  services.now = 0x00000010u;  // 32 ms after the pass
  static_cast<AEffGUIEditor*>(effect.getEditor())->doIdleStuff();
  EXPECT_EQ(host.requests(audioMasterIdle).size(), 1u);
  services.now = 0x00000054u;  // 100 ms after the pass
  static_cast<AEffGUIEditor*>(effect.getEditor())->doIdleStuff();
  EXPECT_EQ(host.requests(audioMasterIdle).size(), 2u);
}

// While the host's idle runs from the idle step, the host may call the
// editor's idle; that must not reach the frame.
VstIntPtr VSTCALLBACK idlingHost(AEffect* effect, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  if (opcode == audioMasterIdle && effect) static_cast<AudioEffect*>(effect->object)->getEditor()->idle();
  return opcode == audioMasterVersion ? 2400 : 0;
}

TEST(AEffGUIEditorIdleTest, HostIdleInsideTheIdleStepDoesNotReachTheFrame) {
  ScriptedIdleServices services;
  SilentEffect effect(idlingHost);
  auto* editor = new TestEditor(&effect, services);
  CountingFrame frame;
  editor->attach(&frame);
  editor->doIdleStuff();
  EXPECT_EQ(frame.idles, 1);
  editor->idle();
  EXPECT_EQ(frame.idles, 2);
  editor->attach(nullptr);
}

}  // namespace
