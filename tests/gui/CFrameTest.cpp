#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "GuiTestSupport.h"
#include "gui/CBitmap.h"
#include "gui/CFrame.h"
#include "gui/CParamDisplay.h"

namespace {

// A view that records the input it receives into a shared log.
class RecordingView : public CView {
 public:
  RecordingView(const CRect& size, std::string name, std::vector<std::string>& log)
      : CView(size), name(std::move(name)), log(log) {}

  void mouse(CDrawContext*, CPoint&, std::int32_t) override { log.push_back(name + " mouse"); }
  bool onWheel(CDrawContext*, const CPoint&, float distance) override {
    log.push_back(name + " wheel " + std::to_string(static_cast<int>(distance)));
    return true;
  }
  std::int32_t onKeyDown(VstKeyCode&) override {
    log.push_back(name + " key");
    return keyAnswer;
  }

  std::string name;
  std::vector<std::string>& log;
  std::int32_t keyAnswer = -1;
};

class CFrameTest : public ::testing::Test {
 protected:
  RecordingView* addView(const CRect& size, const std::string& name) {
    auto* view = new RecordingView(size, name, log);
    scripted.frame->addView(view);
    return view;
  }
  CParamDisplay* addBox(const CRect& size, CColor fill) {
    auto* box = new CParamDisplay(size, nullptr, kNoTextStyle);
    box->setBackColor(fill);
    box->setFrameColor(fill);
    scripted.frame->addView(box);
    return box;
  }

  ScriptedFrame scripted{100, 60};
  std::vector<std::string> log;
};

TEST_F(CFrameTest, DrawsTheBackgroundAtTheOriginThenTheChildrenInOrder) {
  auto* background = new CBitmap(10001);
  scripted.frame->setBackground(background);
  background->forget();
  addBox({10, 10, 40, 40}, kRedCColor);
  addBox({30, 30, 60, 50}, kWhiteCColor);
  scripted.draw(scripted.frame);
  EXPECT_EQ(scripted.window->pixel(0, 0), background->getPixels()[0] & 0xFFFFFFu);
  EXPECT_EQ(scripted.window->pixel(99, 59), background->getPixels()[59 * 619 + 99] & 0xFFFFFFu);
  EXPECT_EQ(scripted.window->pixel(20, 20), 0xFF0000u);
  EXPECT_EQ(scripted.window->pixel(35, 35), 0xFFFFFFu);  // the later child lies on top
}

TEST_F(CFrameTest, RedrawingAChildDrawsOnlyThatChild) {
  addBox({10, 10, 40, 40}, kRedCColor);
  CParamDisplay* second = addBox({50, 10, 80, 40}, kWhiteCColor);
  scripted.draw(second);
  EXPECT_EQ(scripted.window->pixel(60, 20), 0xFFFFFFu);
  EXPECT_EQ(scripted.window->pixel(20, 20), 0u);
  EXPECT_FALSE(second->isDirty());
}

TEST_F(CFrameTest, DestroyingTheFrameReleasesItsChildren) {
  auto* kept = new RecordingView({0, 0, 10, 10}, "kept", log);
  kept->remember();
  {
    ScriptedFrame other(10, 10);
    other.frame->addView(kept);
    EXPECT_EQ(kept->getFrame(), other.frame);
  }
  EXPECT_EQ(kept->getNbReference(), 1);
  EXPECT_EQ(kept->getFrame(), nullptr);
  kept->forget();
}

TEST_F(CFrameTest, MarksDirtyEveryChildTouchingTheRectangleEdgesIncluded) {
  RecordingView* sharingEdge = addView({0, 0, 58, 20}, "edge");
  RecordingView* inside = addView({60, 5, 70, 15}, "inside");
  RecordingView* apart = addView({0, 21, 57, 30}, "apart");
  scripted.frame->markChildrenDirtyIn({58, 0, 90, 20});
  EXPECT_TRUE(sharingEdge->isDirty());
  EXPECT_TRUE(inside->isDirty());
  EXPECT_FALSE(apart->isDirty());
}

TEST_F(CFrameTest, CurrentViewIsTheLastAddedUnderTheMouse) {
  RecordingView* first = addView({0, 0, 50, 50}, "first");
  RecordingView* second = addView({25, 25, 75, 55}, "second");
  scripted.window->hold(0, {30, 30});
  EXPECT_EQ(scripted.frame->getCurrentView(), second);
  scripted.window->hold(0, {10, 10});
  EXPECT_EQ(scripted.frame->getCurrentView(), first);
  scripted.window->hold(0, {90, 5});
  EXPECT_EQ(scripted.frame->getCurrentView(), nullptr);
  scripted.frame->setModalView(first);
  EXPECT_EQ(scripted.frame->getCurrentView(), first);
  scripted.frame->setModalView(nullptr);
}

TEST_F(CFrameTest, MousePressGoesToTheLastAddedEnabledChildAndClearsTheFocus) {
  addView({0, 0, 50, 50}, "first");
  RecordingView* second = addView({25, 25, 75, 55}, "second");
  scripted.frame->setFocusView(second);
  CPoint where{30, 30};
  scripted.frame->mouse(nullptr, where, 1);
  second->setMouseEnabled(false);
  scripted.frame->mouse(nullptr, where, 1);
  EXPECT_EQ(log, (std::vector<std::string>{"second mouse", "first mouse"}));
  EXPECT_EQ(scripted.frame->getFocusView(), nullptr);
}

TEST_F(CFrameTest, ModalViewTakesPressesInsideIt) {
  addView({0, 0, 50, 50}, "first");
  RecordingView* modal = addView({60, 0, 90, 50}, "modal");
  scripted.frame->setModalView(modal);
  CPoint inside{70, 10};
  CPoint outside{10, 10};
  scripted.frame->mouse(nullptr, inside, 1);
  scripted.frame->mouse(nullptr, outside, 1);
  EXPECT_EQ(log, (std::vector<std::string>{"modal mouse"}));
  scripted.frame->setModalView(nullptr);
}

TEST_F(CFrameTest, KeysGoToTheFocusViewThenTheModalView) {
  RecordingView* focus = addView({0, 0, 10, 10}, "focus");
  RecordingView* modal = addView({20, 0, 30, 10}, "modal");
  scripted.frame->setFocusView(focus);
  scripted.frame->setModalView(modal);
  VstKeyCode key{'a', 0, 0};
  EXPECT_EQ(scripted.frame->onKeyDown(key), -1);
  modal->keyAnswer = 1;
  EXPECT_EQ(scripted.frame->onKeyDown(key), 1);
  EXPECT_EQ(log, (std::vector<std::string>{"focus key", "modal key", "focus key", "modal key"}));
  scripted.frame->setModalView(nullptr);
}

TEST_F(CFrameTest, TabMovesTheFocusForwardAndShiftTabBack) {
  RecordingView* first = addView({0, 0, 10, 10}, "first");
  RecordingView* second = addView({20, 0, 30, 10}, "second");
  RecordingView* third = addView({40, 0, 50, 10}, "third");
  VstKeyCode tab{0, VKEY_TAB, 0};
  VstKeyCode backTab{0, VKEY_TAB, MODIFIER_SHIFT};
  EXPECT_EQ(scripted.frame->onKeyDown(tab), 1);
  EXPECT_EQ(scripted.frame->getFocusView(), first);
  scripted.frame->onKeyDown(tab);
  EXPECT_EQ(scripted.frame->getFocusView(), second);
  scripted.frame->onKeyDown(backTab);
  scripted.frame->onKeyDown(backTab);
  EXPECT_EQ(scripted.frame->getFocusView(), third);
}

TEST_F(CFrameTest, WheelReachesTheViewUnderTheMouseAsOneNotch) {
  addView({0, 0, 50, 50}, "under");
  addView({60, 0, 90, 50}, "beside");
  scripted.window->hold(0, {20, 20});
  EXPECT_TRUE(scripted.frame->onWheelAtMouse(1.0f));
  scripted.window->hold(0, {55, 20});
  EXPECT_FALSE(scripted.frame->onWheelAtMouse(1.0f));
  EXPECT_EQ(log, (std::vector<std::string>{"under wheel 1"}));
}

TEST_F(CFrameTest, IdleDeliversTheWindowsEvents) {
  scripted.frame->idle();
  EXPECT_EQ(scripted.window->eventDeliveries, 1);
}

}  // namespace
