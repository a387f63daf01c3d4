#include <gtest/gtest.h>

#include "GdiTestSupport.h"
#include "gui/CBitmap.h"
#include "gui/CControlListener.h"
#include "gui/CVerticalSlider.h"

namespace {

constexpr CRect sliderRect{293, 78, 333, 203};

class IgnoringListener : public CControlListener {
 public:
  void controlChanged(CDrawContext*, CControl*) override {}
  std::int32_t modifierClicked(CDrawContext*, CControl*, std::int32_t) override { return 0; }
};

// A slider with the editor's settings and skin, drawn with GDI through its
// offscreen buffer.
class GdiSliderTest : public ::testing::Test {
 protected:
  GdiSliderTest() {
    slider = new CVerticalSlider(sliderRect, &listener, 2, 83, 195, handle, background, sliderRect.topLeft());
    slider->setDrawTransparentHandle(true);
    slider->setOffsetHandle({-2, -5});
    slider->setFreeClick(false);
    memory.frame->addView(slider);
  }
  ~GdiSliderTest() override {
    background->forget();
    handle->forget();
  }

  // The handle where it is not white, else the skin, with the handle's top
  // at that row of the control.
  std::uint32_t expected(std::int32_t x, std::int32_t y, std::int32_t top) const {
    std::int32_t hx = x - (sliderRect.left - 2);
    std::int32_t hy = y - (sliderRect.top + top);
    if (hx >= 0 && hx < 44 && hy >= 0 && hy < 21) {
      std::uint32_t source = handle->getPixels()[static_cast<std::size_t>(hy * 44 + hx)] & 0xFFFFFFu;
      if (source != 0xFFFFFFu) return source;
    }
    return background->getPixels()[static_cast<std::size_t>(y * 619 + x)] & 0xFFFFFFu;
  }
  void drawAt(float value) {
    slider->setValue(value);
    memory.frame->redrawView(slider);
  }
  void expectHandleTopAt(std::int32_t top) {
    for (std::int32_t y = sliderRect.top; y < sliderRect.bottom; ++y)
      for (std::int32_t x = sliderRect.left; x < sliderRect.right; ++x)
        ASSERT_EQ(memory.window->pixel(x, y), expected(x, y, top)) << x << "," << y;
  }

  MemoryFrame memory{619, 265};
  IgnoringListener listener;
  CBitmap* background = new CBitmap(10001);
  CBitmap* handle = new CBitmap(10002);
  CVerticalSlider* slider;
};

TEST_F(GdiSliderTest, ValueOneDrawsTheHandleAtTheTop) {
  drawAt(1.0f);
  expectHandleTopAt(0);
}

TEST_F(GdiSliderTest, ValueZeroDrawsTheHandleAt107AndTheControlClipsItsLastRows) {
  drawAt(0.0f);
  expectHandleTopAt(107);
  for (std::int32_t y = 203; y < 206; ++y) EXPECT_EQ(memory.window->pixel(313, y), 0u);
  EXPECT_EQ(memory.window->pixel(291, 190), 0u);
  EXPECT_EQ(memory.window->pixel(333, 190), 0u);
}

TEST_F(GdiSliderTest, HalfwayDrawsTheHandleAtHalfTheTravel) {
  drawAt(0.5f);
  expectHandleTopAt(51);
}

TEST_F(GdiSliderTest, FrameDrawsItsBackgroundUnderTheViews) {
  memory.frame->setBackground(background);
  memory.frame->redrawView(memory.frame);
  EXPECT_EQ(memory.window->pixel(10, 10), background->getPixels()[10 * 619 + 10] & 0xFFFFFFu);
  EXPECT_EQ(memory.window->pixel(618, 264), background->getPixels()[264 * 619 + 618] & 0xFFFFFFu);
}

}  // namespace
