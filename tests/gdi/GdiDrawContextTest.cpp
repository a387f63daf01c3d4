#include <gtest/gtest.h>

#include <memory>

#include "gui/CBitmap.h"
#include "gui/win32/GdiBitmap.h"
#include "gui/win32/GdiDrawContext.h"
#include "gui/win32/GdiMemoryDc.h"
#include "gui/win32/GdiOffscreenContext.h"
#include "gui/win32/GdiTransparentBlit.h"

namespace {

constexpr CColor red{255, 0, 0, 255};
constexpr CColor blue{0, 0, 255, 255};
constexpr std::uint32_t redPixel = 0xFF0000u;
constexpr std::uint32_t bluePixel = 0x0000FFu;
constexpr std::uint32_t whitePixel = 0xFFFFFFu;

// The skin's slider handle: 44 x 21, white around the grip.
constexpr std::int32_t handleId = 10002;

std::uint32_t bitmapPixel(const CBitmap& bitmap, std::int32_t x, std::int32_t y) {
  return bitmap.getPixels()[static_cast<std::size_t>(y * bitmap.getWidth() + x)] & 0xFFFFFFu;
}

class GdiDrawContextTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(context, nullptr); }

  // Every pixel of the area has the colour.
  void expectArea(const CRect& area, std::uint32_t color) const {
    for (std::int32_t y = area.top; y < area.bottom; ++y)
      for (std::int32_t x = area.left; x < area.right; ++x)
        ASSERT_EQ(context->pixel(x, y), color) << x << "," << y;
  }
  void fillAll(CColor color) {
    context->setFillColor(color);
    context->fillRect({0, 0, 64, 48});
  }
  // How many pixels of the area have the colour.
  std::int32_t countIn(const CRect& area, std::uint32_t color) const {
    std::int32_t count = 0;
    for (std::int32_t y = area.top; y < area.bottom; ++y)
      for (std::int32_t x = area.left; x < area.right; ++x) count += context->pixel(x, y) == color;
    return count;
  }

  std::unique_ptr<GdiOffscreenContext> context = GdiOffscreenContext::create(64, 48);
};

TEST_F(GdiDrawContextTest, OffscreenStartsBlackAndFillsOnlyItsRectangle) {
  expectArea({0, 0, 64, 48}, 0u);
  context->setFillColor(red);
  context->fillRect({10, 12, 20, 22});
  expectArea({10, 12, 20, 22}, redPixel);
  EXPECT_EQ(countIn({0, 0, 64, 48}, redPixel), 100);
}

TEST_F(GdiDrawContextTest, MakesBrushesAndPensOnlyWhenTheirColourChanges) {
  context->setFillColor(red);
  context->fillRect({0, 0, 4, 4});
  context->fillRect({4, 4, 8, 8});
  EXPECT_EQ(context->getBrushCreations(), 1);
  context->setFillColor(blue);
  context->fillRect({0, 0, 4, 4});
  EXPECT_EQ(context->getBrushCreations(), 2);

  context->setFrameColor(red);
  context->moveTo({0, 10});
  context->lineTo({10, 10});
  context->lineTo({10, 20});
  EXPECT_EQ(context->getPenCreations(), 1);
  context->setFrameColor(blue);
  context->lineTo({20, 20});
  EXPECT_EQ(context->getPenCreations(), 2);
}

TEST_F(GdiDrawContextTest, FrameLinesLeaveOutTheirEndPoint) {
  context->setFrameColor(red);
  context->moveTo({5, 5});
  context->lineTo({15, 5});
  context->lineTo({15, 9});
  expectArea({5, 5, 15, 6}, redPixel);
  expectArea({15, 5, 16, 9}, redPixel);
  EXPECT_EQ(context->pixel(15, 9), 0u);
  EXPECT_EQ(context->pixel(4, 5), 0u);
  EXPECT_EQ(countIn({0, 0, 64, 48}, redPixel), 14);
}

TEST_F(GdiDrawContextTest, NothingOutsideTheClipRectangleChanges) {
  context->setClipRect({8, 8, 16, 16});
  EXPECT_EQ(context->getClipRect(), (CRect{8, 8, 16, 16}));
  fillAll(red);
  EXPECT_EQ(countIn({0, 0, 64, 48}, redPixel), 64);
  expectArea({8, 8, 16, 16}, redPixel);
}

TEST_F(GdiDrawContextTest, TextDrawsInItsRectangleInTheFontColour) {
  context->setFontColor(kWhiteCColor);
  context->setFont(kNormalFont);
  context->drawString("Torvix", {4, 10, 60, 30}, kCenterText);
  EXPECT_GT(countIn({4, 10, 60, 30}, whitePixel), 20);
  EXPECT_EQ(countIn({0, 0, 64, 48}, whitePixel), countIn({4, 10, 60, 30}, whitePixel));
  EXPECT_EQ(GetBkMode(context->getDc()), TRANSPARENT);
}

TEST_F(GdiDrawContextTest, OpaqueTextFillsItsBackgroundAndLeavesTheModeTransparent) {
  context->setFontColor(kWhiteCColor);
  context->setFillColor(red);
  context->setTextTransparent(false);
  context->drawString("Torvix", {4, 10, 60, 30}, kLeftText);
  EXPECT_GT(countIn({4, 10, 60, 30}, redPixel), 20);
  EXPECT_EQ(GetBkMode(context->getDc()), TRANSPARENT);
}

TEST_F(GdiDrawContextTest, TextIsCentredVertically) {
  context->setFontColor(kWhiteCColor);
  context->drawString("Torvix", {0, 0, 64, 48}, kLeftText);
  EXPECT_EQ(countIn({0, 0, 64, 12}, whitePixel), 0);
  EXPECT_EQ(countIn({0, 36, 64, 48}, whitePixel), 0);
  EXPECT_GT(countIn({0, 12, 64, 36}, whitePixel), 20);
}

TEST_F(GdiDrawContextTest, FontIdOutsideTheTableMeasuresAsFontZero) {
  context->setFont(kSystemFont);
  std::int32_t systemWidth = context->getStringWidth("Pre gain 0.50");
  context->setFont(kNormalFontVeryBig);
  EXPECT_NE(context->getStringWidth("Pre gain 0.50"), systemWidth);
  context->setFont(9);
  EXPECT_EQ(context->getFontId(), kSystemFont);
  EXPECT_EQ(context->getStringWidth("Pre gain 0.50"), systemWidth);
  EXPECT_GT(systemWidth, 0);
}

TEST_F(GdiDrawContextTest, OpaqueBitmapCopiesItsPartFromTheOffset) {
  CBitmap handle(handleId);
  ASSERT_TRUE(handle.isLoaded());
  context->drawBitmap(handle, {3, 4, 33, 18}, {10, 5});
  for (std::int32_t y = 4; y < 18; ++y)
    for (std::int32_t x = 3; x < 33; ++x)
      ASSERT_EQ(context->pixel(x, y), bitmapPixel(handle, x - 3 + 10, y - 4 + 5)) << x << "," << y;
  EXPECT_EQ(context->pixel(2, 4), 0u);
  EXPECT_EQ(context->pixel(33, 4), 0u);
}

TEST_F(GdiDrawContextTest, BitmapDrawsNothingBeyondItsOwnPixels) {
  fillAll(blue);
  CBitmap handle(handleId);
  context->drawBitmap(handle, {0, 0, 64, 48}, {30, 10});
  // 14 columns and 11 rows of the handle lie from the offset on.
  EXPECT_EQ(countIn({0, 0, 64, 48}, bluePixel), 64 * 48 - 14 * 11);
  EXPECT_EQ(context->pixel(13, 10), bitmapPixel(handle, 43, 20));
}

TEST_F(GdiDrawContextTest, BitmapThatCannotBeLoadedDrawsNothing) {
  CBitmap missing(1);
  context->drawBitmap(missing, {0, 0, 64, 48}, {});
  context->drawBitmapKeyed(missing, {0, 0, 64, 48}, {});
  EXPECT_EQ(GdiBitmap::handleOf(missing), nullptr);
  expectArea({0, 0, 64, 48}, 0u);
}

TEST_F(GdiDrawContextTest, BitmapKeepsOneGdiCopy) {
  CBitmap handle(handleId);
  HBITMAP first = GdiBitmap::handleOf(handle);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(GdiBitmap::handleOf(handle), first);
  BITMAP description{};
  ASSERT_NE(GetObjectA(first, sizeof description, &description), 0);
  EXPECT_EQ(description.bmWidth, 44);
  EXPECT_EQ(description.bmHeight, 21);
}

TEST_F(GdiDrawContextTest, CopyFromPutsTheWholeOffscreenIntoTheRectangle) {
  std::unique_ptr<GdiOffscreenContext> offscreen = GdiOffscreenContext::create(10, 6);
  ASSERT_NE(offscreen, nullptr);
  offscreen->setFillColor(red);
  offscreen->fillRect({0, 0, 10, 6});
  offscreen->setFillColor(blue);
  offscreen->fillRect({0, 0, 1, 1});
  context->copyFrom(*offscreen, {20, 30, 30, 36});
  EXPECT_EQ(context->pixel(20, 30), bluePixel);
  EXPECT_EQ(countIn({0, 0, 64, 48}, redPixel), 59);
  EXPECT_EQ(countIn({20, 30, 30, 36}, redPixel), 59);
}

// Keyed drawing through either path: the handle where it is not white, what
// lay beneath where it is.
class KeyedDrawingTest : public GdiDrawContextTest {
 protected:
  void expectHandleOverBlue(CPoint at) {
    std::int32_t keyed = 0;
    for (std::int32_t y = 0; y < 21; ++y)
      for (std::int32_t x = 0; x < 44; ++x) {
        std::uint32_t source = bitmapPixel(handle, x, y);
        keyed += source == whitePixel;
        ASSERT_EQ(context->pixel(at.x + x, at.y + y), source == whitePixel ? bluePixel : source)
            << x << "," << y;
      }
    EXPECT_GT(keyed, 0);
    EXPECT_LT(keyed, 44 * 21);
  }
  void blitHandle(void (*blit)(HDC, HDC, const GdiBlitArea&, COLORREF)) {
    GdiMemoryDc source(context->getDc(), GdiBitmap::handleOf(handle));
    ASSERT_TRUE(source.isValid());
    blit(context->getDc(), source.get(), {5, 7, 44, 21, 0, 0}, RGB(255, 255, 255));
  }

  CBitmap handle{handleId};
};

TEST_F(KeyedDrawingTest, LeavesThePixelsOfTheColourKeyUntouched) {
  fillAll(blue);
  context->drawBitmapKeyed(handle, {5, 7, 49, 28}, {});
  expectHandleOverBlue({5, 7});
}

TEST_F(KeyedDrawingTest, SystemTransparentBlitIsFound) {
  fillAll(blue);
  GdiMemoryDc source(context->getDc(), GdiBitmap::handleOf(handle));
  EXPECT_TRUE(
      systemTransparentBlit(context->getDc(), source.get(), {5, 7, 44, 21, 0, 0}, RGB(255, 255, 255)));
  expectHandleOverBlue({5, 7});
}

TEST_F(KeyedDrawingTest, MaskedFallbackGivesTheSamePixels) {
  fillAll(blue);
  blitHandle(maskedTransparentBlit);
  expectHandleOverBlue({5, 7});
}

TEST_F(KeyedDrawingTest, ColourKeyFollowsTheBitmapsTransparentColour) {
  fillAll(blue);
  std::uint32_t corner = bitmapPixel(handle, 0, 0);
  std::uint32_t grip = bitmapPixel(handle, 22, 10);
  ASSERT_NE(corner, grip);
  handle.setTransparentColor({static_cast<std::uint8_t>(grip >> 16), static_cast<std::uint8_t>(grip >> 8),
                              static_cast<std::uint8_t>(grip), 255});
  context->drawBitmapKeyed(handle, {5, 7, 49, 28}, {});
  EXPECT_EQ(context->pixel(5 + 22, 7 + 10), bluePixel);
  EXPECT_EQ(context->pixel(5, 7), corner);
}

}  // namespace
