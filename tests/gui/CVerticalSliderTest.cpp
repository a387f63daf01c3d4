#include <gtest/gtest.h>

#include "GuiTestSupport.h"
#include "gui/CBitmap.h"
#include "gui/CVerticalSlider.h"
#include "gui/MouseButtons.h"

namespace {

constexpr CRect sliderRect{293, 78, 333, 203};
constexpr std::int32_t handleX = 313;

// A slider with the editor's settings on a frame as wide as the skin.
class SliderTest : public ::testing::Test {
 protected:
  SliderTest() {
    background = new CBitmap(10001);
    handle = new CBitmap(10002);
    slider = new CVerticalSlider(sliderRect, &listener, 2, 83, 195, handle, background, sliderRect.topLeft());
    slider->setDrawTransparentHandle(true);
    slider->setOffsetHandle({-2, -5});
    slider->setFreeClick(false);
    scripted.frame->addView(slider);
  }
  ~SliderTest() override {
    background->forget();
    handle->forget();
  }

  // The value as drawn, so that only changes count as dirty.
  void startAt(float value) {
    slider->setValue(value);
    slider->setDirty(false);
  }
  // The on-screen top of the handle for the current value, unlimited.
  std::int32_t handleTop() const {
    return 78 + static_cast<std::int32_t>(112.0f * (1.0f - slider->getValue())) - 5;
  }
  void press(std::int32_t y, std::int32_t buttons = kLButton) {
    CPoint where{handleX, y};
    slider->mouse(nullptr, where, buttons);
  }
  // Pixel expected at frame (x, y) with the handle's top at the given row of
  // the control: the handle where it is not white, else the skin.
  std::uint32_t expected(std::int32_t x, std::int32_t y, std::int32_t top) const {
    std::int32_t hx = x - (sliderRect.left - 2);
    std::int32_t hy = y - (sliderRect.top + top);
    if (hx >= 0 && hx < 44 && hy >= 0 && hy < 21) {
      std::uint32_t source = handle->getPixels()[hy * 44 + hx] & 0xFFFFFFu;
      if (source != 0xFFFFFFu) return source;
    }
    return background->getPixels()[y * 619 + x] & 0xFFFFFFu;
  }
  void expectHandleTopAt(std::int32_t top) {
    for (std::int32_t y = sliderRect.top; y < sliderRect.bottom; ++y)
      for (std::int32_t x = sliderRect.left; x < sliderRect.right; ++x)
        ASSERT_EQ(scripted.window->pixel(x, y), expected(x, y, top)) << x << "," << y;
  }

  ScriptedFrame scripted{619, 265};
  RecordingListener listener;
  CBitmap* background;
  CBitmap* handle;
  CVerticalSlider* slider;
};

TEST_F(SliderTest, HandlePositionsFollowTheEditorsNumbers) {
  EXPECT_EQ(slider->getMinHandlePosition(), 0);
  EXPECT_EQ(slider->getMaxHandlePosition(), 133);
}

TEST_F(SliderTest, ValueOneDrawsTheHandleRaisedToTheTop) {
  slider->setValue(1.0f);
  scripted.draw(slider);
  EXPECT_EQ(slider->handleRect(), (CRect{-2, 0, 42, 21}));
  expectHandleTopAt(0);
  EXPECT_FALSE(slider->isDirty());
}

TEST_F(SliderTest, ValueZeroDrawsTheHandleAt107WithItsLastRowsCut) {
  slider->setValue(0.0f);
  scripted.draw(slider);
  EXPECT_EQ(slider->handleRect(), (CRect{-2, 107, 42, 128}));
  expectHandleTopAt(107);
  // Nothing outside the control: the overhang and the last 3 rows are cut.
  for (std::int32_t y = 203; y < 206; ++y) EXPECT_EQ(scripted.window->pixel(313, y), 0u);
  for (std::int32_t y = 78; y < 203; ++y) {
    EXPECT_EQ(scripted.window->pixel(291, y), 0u);
    EXPECT_EQ(scripted.window->pixel(333, y), 0u);
  }
}

TEST_F(SliderTest, DetachedSliderDrawsDirectlyWithinItsRectangle) {
  scripted.frame->removeView(slider);
  auto* loose =
      new CVerticalSlider(sliderRect, &listener, 2, 83, 195, handle, background, sliderRect.topLeft());
  loose->setOffsetHandle({-2, -5});
  loose->setValue(0.0f);
  {
    std::unique_ptr<CDrawContext> context = scripted.window->createDrawContext();
    loose->draw(context.get());
  }
  slider = loose;
  expectHandleTopAt(107);
  EXPECT_EQ(scripted.window->pixel(313, 203), 0u);
  loose->forget();
}

TEST_F(SliderTest, PressOnTheHandleSnapsUpToTheNextStep) {
  startAt(0.3f);
  scripted.window->then(kLButton, {handleX, handleTop() + 4});
  scripted.window->then(0, {handleX, handleTop() + 4});
  press(handleTop() + 4);
  EXPECT_FLOAT_EQ(slider->getValue(), 1.0f - 78.0f / 112.0f);
  EXPECT_EQ(listener.values.size(), 1u);
}

TEST_F(SliderTest, PressOnTheHandleAtAWholeStepKeepsTheValue) {
  startAt(0.5f);
  scripted.window->then(kLButton, {handleX, handleTop() + 10});
  scripted.window->then(0, {handleX, handleTop() + 10});
  press(handleTop() + 10);
  EXPECT_EQ(slider->getValue(), 0.5f);
  EXPECT_TRUE(listener.values.empty());
  EXPECT_EQ(scripted.frame->getFocusView(), slider);
}

TEST_F(SliderTest, PressBesideTheHandleDoesNothing) {
  startAt(0.5f);
  scripted.window->then(kLButton, {handleX, 100});
  press(handleTop() + 25);
  press(handleTop() - 1);
  EXPECT_EQ(slider->getValue(), 0.5f);
  EXPECT_TRUE(listener.values.empty());
  EXPECT_EQ(scripted.window->buttonPolls, 0);
}

TEST_F(SliderTest, DragMovesOneStepPerPixelUpwards) {
  startAt(0.5f);
  std::int32_t start = handleTop() + 6;
  // Each position polled at the end of a pass counts in the next one.
  scripted.window->then(kLButton, {handleX, start - 10});
  scripted.window->then(kLButton, {handleX, start + 30});
  scripted.window->then(kLButton, {handleX, start + 30});
  scripted.window->then(0, {handleX, start + 30});
  press(start);
  ASSERT_EQ(listener.values.size(), 2u);
  EXPECT_FLOAT_EQ(listener.values[0], 0.5f + 10.0f / 112.0f);
  EXPECT_FLOAT_EQ(listener.values[1], 0.5f - 30.0f / 112.0f);
}

TEST_F(SliderTest, DragIsClampedToTheRange) {
  startAt(0.5f);
  std::int32_t start = handleTop() + 6;
  scripted.window->then(kLButton, {handleX, start - 200});
  scripted.window->then(kLButton, {handleX, start + 300});
  scripted.window->then(kLButton, {handleX, start + 300});
  scripted.window->then(0, {handleX, 0});
  press(start);
  EXPECT_EQ(listener.values, (std::vector<float>{1.0f, 0.0f}));
}

TEST_F(SliderTest, ShiftDragIsTenTimesFinerAnchoredWhereShiftWasPressed) {
  startAt(0.5f);
  std::int32_t start = handleTop() + 6;
  scripted.window->then(kLButton, {handleX, start - 10});
  scripted.window->then(kLButton, {handleX, start - 10});
  scripted.window->then(kLButton | kShift, {handleX, start - 20});
  scripted.window->then(kLButton | kShift, {handleX, start - 40});
  scripted.window->then(kLButton | kShift, {handleX, start - 40});
  scripted.window->then(0, {handleX, start - 40});
  press(start);
  float anchor = 0.5f + 10.0f / 112.0f;
  ASSERT_EQ(listener.values.size(), 3u);
  EXPECT_FLOAT_EQ(listener.values[0], anchor);
  EXPECT_FLOAT_EQ(listener.values[1], anchor + 10.0f / 1120.0f);
  EXPECT_FLOAT_EQ(listener.values[2], anchor + 30.0f / 1120.0f);
}

TEST_F(SliderTest, ControlClickAnywhereResetsToTheDefault) {
  startAt(0.2f);
  press(sliderRect.top + 2, kLButton | kControl);
  EXPECT_EQ(slider->getValue(), 0.5f);
  EXPECT_EQ(listener.values, std::vector<float>{0.5f});
  EXPECT_EQ(listener.modifierClicks, std::vector<std::int32_t>{kLButton | kControl});
}

TEST_F(SliderTest, ControlShiftClickBesideTheHandleDoesNothing) {
  startAt(0.2f);
  press(sliderRect.top + 2, kLButton | kControl | kShift);
  EXPECT_EQ(slider->getValue(), 0.2f);
  EXPECT_TRUE(listener.values.empty());
}

TEST_F(SliderTest, ListenerCanTakeModifierClicks) {
  startAt(0.2f);
  listener.modifierAnswer = 1;
  press(sliderRect.top + 2, kLButton | kControl);
  EXPECT_EQ(slider->getValue(), 0.2f);
}

TEST_F(SliderTest, WheelStepsByATenthAndAHundredthWithShift) {
  startAt(0.5f);
  EXPECT_TRUE(slider->onWheel(nullptr, {handleX, 100}, 1.0f));
  EXPECT_FLOAT_EQ(slider->getValue(), 0.6f);
  scripted.window->hold(kShift, {handleX, 100});
  slider->onWheel(nullptr, {handleX, 100}, -1.0f);
  EXPECT_FLOAT_EQ(slider->getValue(), 0.59f);
}

TEST_F(SliderTest, WheelStaysWithinTheRange) {
  startAt(0.95f);
  slider->onWheel(nullptr, {handleX, 100}, 1.0f);
  EXPECT_EQ(slider->getValue(), 1.0f);
  slider->setDirty(false);
  slider->onWheel(nullptr, {handleX, 100}, 1.0f);
  EXPECT_EQ(listener.values.size(), 1u);  // no change, no notice
  slider->onWheel(nullptr, {handleX, 100}, -30.0f);
  EXPECT_EQ(slider->getValue(), 0.0f);
}

TEST_F(SliderTest, ArrowKeysStepLikeTheWheel) {
  startAt(0.5f);
  VstKeyCode up{0, VKEY_UP, 0};
  VstKeyCode left{0, VKEY_LEFT, 0};
  VstKeyCode fineDown{0, VKEY_DOWN, MODIFIER_SHIFT};
  VstKeyCode other{'x', 0, 0};
  EXPECT_EQ(slider->onKeyDown(up), 1);
  EXPECT_FLOAT_EQ(slider->getValue(), 0.6f);
  slider->onKeyDown(left);
  slider->onKeyDown(fineDown);
  EXPECT_FLOAT_EQ(slider->getValue(), 0.49f);
  EXPECT_EQ(slider->onKeyDown(other), -1);
  EXPECT_EQ(listener.values.size(), 3u);
}

TEST_F(SliderTest, FreeClickCentresTheHandleOnTheMouse) {
  startAt(0.5f);
  slider->setFreeClick(true);
  // grab = -5 + 78 + 21 / 2 - 1 = 82; a press at 82 + 28 gives 1 - 28 / 112.
  scripted.window->then(kLButton, {handleX, 110});
  scripted.window->then(0, {handleX, 110});
  press(110);
  EXPECT_FLOAT_EQ(slider->getValue(), 0.75f);
}

}  // namespace
