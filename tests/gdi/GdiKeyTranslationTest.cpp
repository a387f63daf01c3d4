#include <gtest/gtest.h>

#include "gui/win32/GdiKeyTranslation.h"

namespace {

TEST(GdiKeyTranslationTest, KeysWithAVirtualCodeGiveTheInterfacesCode) {
  EXPECT_EQ(translateKey(VK_LEFT).virt, VKEY_LEFT);
  EXPECT_EQ(translateKey(VK_UP).virt, VKEY_UP);
  EXPECT_EQ(translateKey(VK_RIGHT).virt, VKEY_RIGHT);
  EXPECT_EQ(translateKey(VK_DOWN).virt, VKEY_DOWN);
  EXPECT_EQ(translateKey(VK_TAB).virt, VKEY_TAB);
  EXPECT_EQ(translateKey(VK_PRIOR).virt, VKEY_PAGEUP);
  EXPECT_EQ(translateKey(VK_F12).virt, VKEY_F12);
  EXPECT_EQ(translateKey(VK_MENU).virt, VKEY_ALT);
  EXPECT_EQ(translateKey(VK_LEFT).character, 0);
}

}  // namespace
