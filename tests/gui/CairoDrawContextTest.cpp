#include <gtest/gtest.h>

#include <vector>

#include "gui/CBitmap.h"
#include "gui/CDrawContext.h"
#include "gui/cairo/ImageFrameWindow.h"

namespace {

constexpr std::uint32_t red = 0xFF0000u;
constexpr std::uint32_t white = 0xFFFFFFu;

class DrawContextTest : public ::testing::Test {
 protected:
  DrawContextTest() : window(80, 40), context(window.createDrawContext()) {}

  void fill(const CRect& rect, CColor color) {
    context->setFillColor(color);
    context->fillRect(rect);
  }
  // The image after the context's drawing has been flushed.
  std::uint32_t pixel(std::int32_t x, std::int32_t y) {
    context.reset();
    std::uint32_t value = window.pixel(x, y);
    context = window.createDrawContext();
    return value;
  }
  std::vector<std::uint32_t> snapshot() {
    context.reset();
    std::vector<std::uint32_t> pixels;
    for (std::int32_t y = 0; y < window.getHeight(); ++y)
      for (std::int32_t x = 0; x < window.getWidth(); ++x) pixels.push_back(window.pixel(x, y));
    context = window.createDrawContext();
    return pixels;
  }

  ImageFrameWindow window;
  std::unique_ptr<CDrawContext> context;
};

TEST_F(DrawContextTest, FillCoversLeftTopUpToRightBottomExclusive) {
  fill({2, 3, 5, 6}, kRedCColor);
  EXPECT_EQ(pixel(2, 3), red);
  EXPECT_EQ(pixel(4, 5), red);
  EXPECT_EQ(pixel(5, 5), 0u);
  EXPECT_EQ(pixel(4, 6), 0u);
}

TEST_F(DrawContextTest, LinesLeaveOutTheirEndPoint) {
  context->setFrameColor(kWhiteCColor);
  context->moveTo({1, 1});
  context->lineTo({6, 1});
  context->moveTo({10, 1});
  context->lineTo({10, 4});
  EXPECT_EQ(pixel(1, 1), white);
  EXPECT_EQ(pixel(5, 1), white);
  EXPECT_EQ(pixel(6, 1), 0u);
  EXPECT_EQ(pixel(10, 1), white);
  EXPECT_EQ(pixel(10, 3), white);
  EXPECT_EQ(pixel(10, 4), 0u);
}

TEST_F(DrawContextTest, NothingChangesOutsideTheClip) {
  context->setClipRect({10, 10, 20, 20});
  fill({0, 0, 80, 40}, kRedCColor);
  EXPECT_EQ(pixel(10, 10), red);
  EXPECT_EQ(pixel(19, 19), red);
  EXPECT_EQ(pixel(20, 19), 0u);
  EXPECT_EQ(pixel(9, 10), 0u);
}

TEST_F(DrawContextTest, OpaqueBitmapCopiesFromTheOffset) {
  CBitmap background(10001);
  context->drawBitmap(background, {5, 5, 25, 25}, {100, 50});
  context.reset();
  for (std::int32_t y = 0; y < 20; y += 7)
    for (std::int32_t x = 0; x < 20; x += 7)
      EXPECT_EQ(window.pixel(5 + x, 5 + y), background.getPixels()[(50 + y) * 619 + 100 + x] & 0xFFFFFFu);
  EXPECT_EQ(window.pixel(4, 5), 0u);
  EXPECT_EQ(window.pixel(25, 24), 0u);
}

TEST_F(DrawContextTest, KeyedBitmapLeavesWhiteHandlePixelsTransparent) {
  CBitmap handle(10002);
  fill({0, 0, 80, 40}, kRedCColor);
  context->drawBitmapKeyed(handle, {10, 10, 54, 31}, {});
  context.reset();
  int transparent = 0;
  for (std::int32_t y = 0; y < 21; ++y) {
    for (std::int32_t x = 0; x < 44; ++x) {
      std::uint32_t source = handle.getPixels()[y * 44 + x] & 0xFFFFFFu;
      std::uint32_t shown = window.pixel(10 + x, 10 + y);
      if (source == white) {
        EXPECT_EQ(shown, red);
        ++transparent;
      } else {
        EXPECT_EQ(shown, source);
      }
    }
  }
  EXPECT_GT(transparent, 0);
}

TEST_F(DrawContextTest, OpaqueHandleKeepsItsWhite) {
  CBitmap handle(10002);
  fill({0, 0, 80, 40}, kRedCColor);
  context->drawBitmap(handle, {10, 10, 54, 31}, {});
  EXPECT_EQ(pixel(10, 10), white);
}

TEST_F(DrawContextTest, MissingBitmapDrawsNothing) {
  CBitmap missing(4242);
  context->drawBitmap(missing, {0, 0, 80, 40}, {});
  context->drawBitmapKeyed(missing, {0, 0, 80, 40}, {});
  EXPECT_EQ(pixel(40, 20), 0u);
}

TEST_F(DrawContextTest, OffscreenIsCopiedWhole) {
  std::unique_ptr<CDrawContext> offscreen = window.createOffscreen(10, 5);
  offscreen->setFillColor(kRedCColor);
  offscreen->fillRect({0, 0, 10, 5});
  context->copyFrom(*offscreen, {30, 30, 40, 35});
  EXPECT_EQ(pixel(30, 30), red);
  EXPECT_EQ(pixel(39, 34), red);
  EXPECT_EQ(pixel(40, 34), 0u);
}

TEST_F(DrawContextTest, FontIdNineDrawsAsTheBoldSystemFont) {
  auto drawWith = [&](std::int32_t fontId) {
    fill({0, 0, 80, 40}, kBlackCColor);
    context->setFontColor(kWhiteCColor);
    context->setFont(fontId);
    context->drawString("Ag 42", {0, 0, 80, 40}, kCenterText);
    return snapshot();
  };
  std::vector<std::uint32_t> nine = drawWith(9);
  EXPECT_EQ(nine, drawWith(kSystemFont));
  EXPECT_NE(nine, drawWith(kNormalFont));
  EXPECT_NE(nine, std::vector<std::uint32_t>(nine.size(), 0u));
}

TEST_F(DrawContextTest, FontsAreMadeOnlyWhenTheyChange) {
  context->setFont(kNormalFont);
  context->setFont(kNormalFont);
  EXPECT_EQ(context->getFontCreations(), 1);
  context->setFont(kNormalFont, 0, kBoldFace);
  EXPECT_EQ(context->getFontCreations(), 2);
  context->setFont(9);
  context->setFont(kSystemFont);
  EXPECT_EQ(context->getFontCreations(), 3);
}

TEST_F(DrawContextTest, TextAlignsWithinItsRectangle) {
  auto firstLitColumn = [&](CHoriTxtAlign align) {
    fill({0, 0, 80, 40}, kBlackCColor);
    context->setFontColor(kWhiteCColor);
    context->setFont(kNormalFont);
    context->drawString("X", {0, 0, 80, 40}, align);
    context.reset();
    std::int32_t column = -1;
    for (std::int32_t x = 0; x < 80 && column < 0; ++x)
      for (std::int32_t y = 0; y < 40; ++y)
        if (window.pixel(x, y) != 0) column = x;
    context = window.createDrawContext();
    return column;
  };
  std::int32_t left = firstLitColumn(kLeftText);
  std::int32_t centre = firstLitColumn(kCenterText);
  std::int32_t right = firstLitColumn(kRightText);
  EXPECT_LT(left, 4);
  EXPECT_NEAR(centre, 36, 4);
  EXPECT_GT(right, 70);
}

}  // namespace
