#include <gtest/gtest.h>

#include <string>

#include "gui/win32/GdiPopupMenu.h"

namespace {

std::string itemText(HMENU menu, int position) {
  char text[64] = {};
  GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
  return text;
}

UINT itemState(HMENU menu, int position) {
  return GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION);
}

class GdiPopupMenuTest : public ::testing::Test {
 protected:
  ~GdiPopupMenuTest() override {
    if (menu) DestroyMenu(menu);
  }

  HMENU menu = nullptr;
};

TEST_F(GdiPopupMenuTest, OneItemPerEntryInOrderAnsweringItsIndexPlusOne) {
  PopupMenuRequest request;
  request.items = {{"Crunch"}, {"Fuzz"}, {"Warm"}};
  menu = buildGdiPopupMenu(request);
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(GetMenuItemCount(menu), 3);
  for (int position = 0; position < 3; ++position) {
    EXPECT_EQ(GetMenuItemID(menu, position), static_cast<UINT>(position + 1));
    EXPECT_EQ(itemState(menu, position) & (MF_GRAYED | MF_DISABLED | MF_SEPARATOR), 0u);
  }
  EXPECT_EQ(itemText(menu, 0), "Crunch");
  EXPECT_EQ(itemText(menu, 2), "Warm");
}

TEST_F(GdiPopupMenuTest, SeparatorsTitlesAndGreyedEntriesKeepTheirPlaces) {
  PopupMenuRequest request;
  request.items = {{"", true, false}, {"Sounds", false, false, true}, {"Old", false, false}, {"New"}};
  menu = buildGdiPopupMenu(request);
  ASSERT_EQ(GetMenuItemCount(menu), 4);
  EXPECT_NE(itemState(menu, 0) & MF_SEPARATOR, 0u);
  EXPECT_NE(itemState(menu, 1) & MF_DISABLED, 0u);
  EXPECT_EQ(itemState(menu, 1) & MF_GRAYED, 0u);
  EXPECT_EQ(itemText(menu, 1), "Sounds");
  EXPECT_NE(itemState(menu, 2) & MF_GRAYED, 0u);
  EXPECT_EQ(GetMenuItemID(menu, 3), 4u);
}

TEST_F(GdiPopupMenuTest, AmpersandsShowAsWritten) {
  PopupMenuRequest request;
  request.items = {{"Fuzz & Crunch"}};
  menu = buildGdiPopupMenu(request);
  EXPECT_EQ(itemText(menu, 0), "Fuzz && Crunch");
}

TEST_F(GdiPopupMenuTest, EmptyRequestGivesAnEmptyMenu) {
  menu = buildGdiPopupMenu(PopupMenuRequest{});
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(GetMenuItemCount(menu), 0);
}

}  // namespace
