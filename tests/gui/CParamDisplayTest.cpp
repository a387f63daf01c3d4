#include <gtest/gtest.h>

#include "GuiTestSupport.h"
#include "gui/CParamDisplay.h"

namespace {

constexpr CRect boxRect{10, 10, 40, 24};

class CParamDisplayTest : public ::testing::Test {
 protected:
  CParamDisplayTest() {
    display = new CParamDisplay(boxRect);
    display->setBackColor(kRedCColor);
    display->setFrameColor(kWhiteCColor);
    scripted.frame->addView(display);
  }
  std::uint32_t pixel(std::int32_t x, std::int32_t y) { return scripted.window->pixel(x, y); }

  ScriptedFrame scripted{60, 40};
  CParamDisplay* display;
};

TEST_F(CParamDisplayTest, OpaqueBoxHasAFillAndAOnePixelFrameLine) {
  display->setStyle(kNoTextStyle);
  scripted.draw(display);
  EXPECT_EQ(pixel(10, 10), 0xFFFFFFu);
  EXPECT_EQ(pixel(39, 10), 0xFFFFFFu);
  EXPECT_EQ(pixel(39, 23), 0xFFFFFFu);
  EXPECT_EQ(pixel(10, 23), 0xFFFFFFu);
  EXPECT_EQ(pixel(11, 11), 0xFF0000u);
  EXPECT_EQ(pixel(38, 22), 0xFF0000u);
  EXPECT_EQ(pixel(40, 24), 0u);
}

TEST_F(CParamDisplayTest, NoFrameStyleDrawsOnlyTheFill) {
  display->setStyle(kNoTextStyle | kNoFrame);
  scripted.draw(display);
  EXPECT_EQ(pixel(10, 10), 0u);
  EXPECT_EQ(pixel(39, 23), 0xFF0000u);
}

TEST_F(CParamDisplayTest, TransparentViewDrawsNoBackground) {
  display->setTransparency(true);
  display->setStyle(kNoTextStyle);
  scripted.draw(display);
  EXPECT_EQ(pixel(20, 15), 0u);
  EXPECT_FALSE(display->isDirty());
}

TEST_F(CParamDisplayTest, NoDrawStyleDrawsNothing) {
  display->setStyle(kNoDrawStyle);
  scripted.draw(display);
  EXPECT_EQ(pixel(20, 15), 0u);
}

TEST_F(CParamDisplayTest, TextStaysInsideTheBox) {
  display->setValue(0.25f);
  display->setFont(kNormalFontVeryBig);
  scripted.draw(display);
  for (std::int32_t x = 0; x < 60; ++x) {
    EXPECT_EQ(pixel(x, 9), 0u);
    EXPECT_EQ(pixel(x, 24), 0u);
  }
  bool lit = false;
  for (std::int32_t x = 11; x < 39; ++x) lit = lit || pixel(x, 17) == 0xFFFFFFu || pixel(x, 16) == 0xFFFFFFu;
  EXPECT_TRUE(lit);
}

TEST(CControlTest, DirtyStateFollowsTheLastDrawnValue) {
  CControl control({0, 0, 10, 10}, nullptr, 7);
  control.setValue(0.3f);
  control.setDirty(false);
  EXPECT_FALSE(control.isDirty());
  control.setValue(0.4f);
  EXPECT_TRUE(control.isDirty());
  control.setDirty(false);
  control.setDirty(true);
  EXPECT_TRUE(control.isDirty());
  control.setValue(-1.0f);
  control.setDirty(false);
  control.setDirty(true);
  EXPECT_TRUE(control.isDirty());
  EXPECT_EQ(control.getTag(), 7);
}

}  // namespace
