#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "GuiTestSupport.h"
#include "gui/COptionMenu.h"
#include "gui/MouseButtons.h"

namespace {

constexpr CRect menuRect{58, 100, 243, 126};

class COptionMenuTest : public ::testing::Test {
 protected:
  COptionMenuTest() {
    menu = new COptionMenu(menuRect, &listener, 3);
    menu->setBackColor(kWhiteCColor);
    menu->setFontColor(kBlackCColor);
    scripted.frame->addView(menu);
  }
  void click(std::int32_t buttons = kLButton) {
    CPoint where{100, 110};
    std::unique_ptr<CDrawContext> context = scripted.window->createDrawContext();
    menu->mouse(context.get(), where, buttons);
  }
  // The menu's pixels after drawing it on a cleared window.
  std::vector<std::uint32_t> drawnPixels() {
    {
      std::unique_ptr<CDrawContext> context = scripted.window->createDrawContext();
      context->setFillColor(kBlackCColor);
      context->fillRect({0, 0, 300, 200});
    }
    scripted.draw(menu);
    std::vector<std::uint32_t> pixels;
    for (std::int32_t y = menuRect.top; y < menuRect.bottom; ++y)
      for (std::int32_t x = menuRect.left; x < menuRect.right; ++x)
        pixels.push_back(scripted.window->pixel(x, y));
    return pixels;
  }

  ScriptedFrame scripted{300, 200};
  RecordingListener listener;
  COptionMenu* menu;
};

TEST_F(COptionMenuTest, FirstEntryBecomesCurrent) {
  EXPECT_EQ(menu->getCurrent(), -1);
  menu->addEntry("clean");
  menu->addEntry("fuzz");
  EXPECT_EQ(menu->getCurrent(), 0);
  EXPECT_EQ(menu->getValue(), 0.0f);
}

TEST_F(COptionMenuTest, InsertingBeforeTheCurrentEntryKeepsItCurrent) {
  menu->addEntry("a");
  menu->addEntry("b");
  menu->setCurrent(1);
  menu->addEntry("first", 0);
  menu->addEntry("last", 99);
  EXPECT_STREQ(menu->getEntry(0), "first");
  EXPECT_STREQ(menu->getEntry(3), "last");
  EXPECT_EQ(menu->getCurrent(), 2);
  EXPECT_STREQ(menu->getEntry(menu->getCurrent()), "b");
}

TEST_F(COptionMenuTest, HoldsAtMost1024Entries) {
  for (int i = 0; i < 1024; ++i) ASSERT_TRUE(menu->addEntry(std::to_string(i).c_str()));
  EXPECT_FALSE(menu->addEntry("one too many"));
  EXPECT_EQ(menu->getNbEntries(), 1024);
  EXPECT_STREQ(menu->getEntry(1023), "1023");
}

TEST_F(COptionMenuTest, CutsEntriesTo255Characters) {
  std::string longName(300, 'x');
  menu->addEntry(longName.c_str());
  EXPECT_EQ(std::string(menu->getEntry(0)), std::string(255, 'x'));
}

TEST_F(COptionMenuTest, ValueOutsideTheEntriesIsIgnored) {
  menu->addEntry("a");
  menu->addEntry("b");
  menu->setValue(1.7f);
  EXPECT_EQ(menu->getCurrent(), 1);
  menu->setValue(2.0f);
  menu->setValue(-0.5f);  // truncates to 0, inside
  EXPECT_EQ(menu->getCurrent(), 0);
  menu->setValue(-1.0f);
  EXPECT_EQ(menu->getCurrent(), 0);
  EXPECT_EQ(menu->getValue(), -0.5f);
}

// Values no integer can hold (a host's automation may carry any float)
// leave the current entry; UndefinedBehaviorSanitizer would report their
// conversion.
TEST_F(COptionMenuTest, ValuesBeyondEveryIntegerAreIgnored) {
  menu->addEntry("a");
  menu->addEntry("b");
  menu->setCurrent(1);
  const float infinity = std::numeric_limits<float>::infinity();
  for (float value : {std::numeric_limits<float>::quiet_NaN(), infinity, -infinity, 3e9f, -3e9f, 1e30f,
                      std::numeric_limits<float>::max(), std::numeric_limits<float>::lowest()}) {
    SCOPED_TRACE(value);
    menu->setValue(value);
    EXPECT_EQ(menu->getCurrent(), 1);
    EXPECT_EQ(menu->getValue(), 1.0f);
  }
}

TEST_F(COptionMenuTest, SelectingRefusesSeparatorsAndIndicesOutside) {
  menu->addEntry("a");
  menu->addEntry("-");
  menu->addEntry("b");
  EXPECT_FALSE(menu->setCurrent(1));
  EXPECT_FALSE(menu->setCurrent(3));
  EXPECT_TRUE(menu->setCurrent(2));
  EXPECT_EQ(menu->getValue(), 2.0f);
  EXPECT_TRUE(menu->isDirty());
}

TEST_F(COptionMenuTest, ChoosingEntryTwoMakesItCurrentAndNotifies) {
  menu->addEntry("clean");
  menu->addEntry("fuzz");
  menu->addEntry("crunch");
  scripted.window->popupChoice = 2;
  click();
  EXPECT_EQ(menu->getValue(), 2.0f);
  EXPECT_EQ(menu->getCurrent(), 2);
  EXPECT_EQ(listener.values, std::vector<float>{2.0f});
  EXPECT_EQ(scripted.frame->getFocusView(), nullptr);
}

TEST_F(COptionMenuTest, PopupOpensBelowTheMenuWithItsEntries) {
  menu->addEntry("clean");
  menu->addEntry("-");
  menu->addEntry("-Ttitle");
  menu->addEntry("-Ggreyed");
  click();
  ASSERT_EQ(scripted.window->popupRequests.size(), 1u);
  const PopupMenuRequest& request = scripted.window->popupRequests[0];
  EXPECT_EQ(request.screenPosition, (CPoint{100 + 58, 200 + 126}));
  ASSERT_EQ(request.items.size(), 4u);
  EXPECT_EQ(request.items[0].text, "clean");
  EXPECT_FALSE(request.items[0].title);
  EXPECT_TRUE(request.items[1].separator);
  EXPECT_EQ(request.items[2].text, "title");
  EXPECT_FALSE(request.items[2].enabled);
  EXPECT_TRUE(request.items[2].title);
  EXPECT_EQ(request.items[3].text, "greyed");
  EXPECT_FALSE(request.items[3].enabled);
  EXPECT_FALSE(request.items[3].title);
  EXPECT_FALSE(request.secondaryButton);
}

TEST_F(COptionMenuTest, DismissedPopupChangesNothing) {
  menu->addEntry("clean");
  menu->addEntry("fuzz");
  menu->setCurrent(1);
  click(kRButton);
  EXPECT_EQ(menu->getCurrent(), 1);
  EXPECT_TRUE(listener.values.empty());
  EXPECT_TRUE(scripted.window->popupRequests[0].secondaryButton);
}

TEST_F(COptionMenuTest, EmptyMenuPopupOffersNothing) {
  scripted.window->popupChoice = 0;
  click();
  ASSERT_EQ(scripted.window->popupRequests.size(), 1u);
  EXPECT_TRUE(scripted.window->popupRequests[0].items.empty());
  EXPECT_TRUE(listener.values.empty());
}

TEST_F(COptionMenuTest, MiddleButtonOpensNoPopup) {
  menu->addEntry("clean");
  click(kMButton);
  EXPECT_TRUE(scripted.window->popupRequests.empty());
}

TEST_F(COptionMenuTest, EmptyMenuDrawsItsBoxButNoText) {
  std::vector<std::uint32_t> empty = drawnPixels();
  menu->setStyle(kNoTextStyle);
  menu->addEntry("clean");
  EXPECT_EQ(drawnPixels(), empty);
  menu->setStyle(0);
  EXPECT_NE(drawnPixels(), empty);
  EXPECT_EQ(empty.front(), 0u);  // the frame line, black
  EXPECT_EQ(empty[static_cast<std::size_t>(menuRect.width()) * 5 + 5], 0xFFFFFFu);
}

}  // namespace
