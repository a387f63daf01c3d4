#include <gtest/gtest.h>

#include "gui/CColor.h"
#include "gui/CRect.h"
#include "gui/FontTable.h"

namespace {

TEST(CRectTest, PointsOnEveryEdgeAreInside) {
  CRect rect{10, 20, 30, 40};
  EXPECT_TRUE(rect.pointInside({10, 20}));
  EXPECT_TRUE(rect.pointInside({30, 40}));
  EXPECT_FALSE(rect.pointInside({31, 40}));
  EXPECT_FALSE(rect.pointInside({10, 19}));
}

TEST(CRectTest, RectanglesSharingOnlyAnEdgeTouch) {
  CRect rect{10, 20, 30, 40};
  EXPECT_TRUE(rect.touches({30, 0, 50, 20}));  // a single corner
  EXPECT_TRUE(rect.touches({0, 40, 10, 60}));
  EXPECT_FALSE(rect.touches({31, 20, 50, 40}));
  EXPECT_FALSE(rect.touches({10, 41, 30, 50}));
}

TEST(CRectTest, IntersectionOfDisjointRectanglesIsEmpty) {
  CRect common = CRect{0, 0, 10, 10}.intersection({20, 20, 30, 30});
  EXPECT_EQ(common.width(), 0);
  EXPECT_EQ(common.height(), 0);
}

TEST(FontTableTest, IdsOutsideTheTableGiveTheBoldSystemFont) {
  EXPECT_EQ(&fontDescription(9), &fontDescription(kSystemFont));
  EXPECT_EQ(&fontDescription(-1), &fontDescription(kSystemFont));
  EXPECT_TRUE(fontDescription(kSystemFont).alwaysBold);
  EXPECT_EQ(fontDescription(kSystemFont).size, 12);
}

TEST(FontTableTest, EditorFontsAreArialOfTheirSizes) {
  EXPECT_STREQ(fontDescription(kNormalFontBig).face, "Arial");
  EXPECT_EQ(fontDescription(kNormalFontBig).size, 14);
  EXPECT_EQ(fontDescription(kNormalFont).size, 12);
  EXPECT_FALSE(fontDescription(kNormalFont).alwaysBold);
  EXPECT_STREQ(fontDescription(kSymbolFont).face, "Symbol");
}

TEST(CColorTest, TransparentKeyDiffersFromWhiteOnlyInTheFourthByte) {
  EXPECT_TRUE(kTransparentCColor.sameRgb(kWhiteCColor));
  EXPECT_NE(kTransparentCColor, kWhiteCColor);
}

}  // namespace
