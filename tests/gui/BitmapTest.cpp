#include <gtest/gtest.h>

#include <vector>

#include "gui/BitmapResources.h"
#include "gui/BmpImage.h"
#include "gui/CBitmap.h"

namespace {

TEST(CBitmapTest, SkinBitmapsLoadWithTheirSizes) {
  CBitmap background(10001);
  CBitmap handle(10002);
  EXPECT_EQ(background.getWidth(), 619);
  EXPECT_EQ(background.getHeight(), 265);
  EXPECT_EQ(handle.getWidth(), 44);
  EXPECT_EQ(handle.getHeight(), 21);
}

TEST(CBitmapTest, SkinBitmapsHaveTheirDepths) {
  const BitmapResource* background = findBitmapResource(10001);
  const BitmapResource* handle = findBitmapResource(10002);
  ASSERT_TRUE(background && handle);
  EXPECT_EQ(background->data[28], 32);
  EXPECT_EQ(handle->data[28], 8);
}

TEST(CBitmapTest, HandleIsADarkShapeOnWhite) {
  CBitmap handle(10002);
  const std::vector<std::uint32_t>& pixels = handle.getPixels();
  EXPECT_EQ(pixels.front(), 0xFFFFFFFFu);  // the corners are white
  EXPECT_EQ(pixels.back(), 0xFFFFFFFFu);
  std::uint32_t centre = pixels[static_cast<std::size_t>(15 * 44 + 20)];
  EXPECT_LT(centre & 0xFFu, 0x60u);
}

TEST(CBitmapTest, KeyedPixelsAreTransparentExactlyWhereWhite) {
  CBitmap handle(10002);
  const std::vector<std::uint32_t> pixels = handle.getPixels();
  const std::vector<std::uint32_t>& keyed = handle.getKeyedPixels();
  ASSERT_EQ(keyed.size(), pixels.size());
  for (std::size_t i = 0; i < pixels.size(); ++i)
    EXPECT_EQ(keyed[i], pixels[i] == 0xFFFFFFFFu ? 0u : pixels[i]);
}

TEST(CBitmapTest, UnknownIdGivesAnEmptyBitmap) {
  CBitmap missing(4242);
  EXPECT_EQ(missing.getWidth(), 0);
  EXPECT_EQ(missing.getHeight(), 0);
  EXPECT_TRUE(missing.getKeyedPixels().empty());
}

TEST(CBitmapTest, ReferencesKeepTheBitmapUntilTheLastIsDropped) {
  auto* bitmap = new CBitmap(10002);
  bitmap->remember();
  EXPECT_EQ(bitmap->getNbReference(), 2);
  bitmap->forget();
  EXPECT_EQ(bitmap->getNbReference(), 1);
  bitmap->forget();
}

// A 2 x 2 BMP with 24 bits per pixel, stored bottom-up: the bottom row blue,
// green; the top row red, white; rows padded to 8 bytes.
std::vector<unsigned char> smallBmp() {
  return {'B', 'M', 70, 0, 0,  0, 0,   0, 0, 0, 54,  0, 0, 0, 40, 0, 0,   0,   2,   0,   0, 0, 2, 0,
          0,   0,   1,  0, 24, 0, 0,   0, 0, 0, 16,  0, 0, 0, 0,  0, 0,   0,   0,   0,   0, 0, 0, 0,
          0,   0,   0,  0, 0,  0, 255, 0, 0, 0, 255, 0, 0, 0, 0,  0, 255, 255, 255, 255, 0, 0};
}

TEST(BmpImageTest, ReadsRowsFromTheBottomUp) {
  std::vector<unsigned char> file = smallBmp();
  BmpImage image;
  ASSERT_TRUE(decodeBmp(file.data(), file.size(), image));
  EXPECT_EQ(image.pixels, (std::vector<std::uint32_t>{0xFFFF0000u, 0xFFFFFFFFu, 0xFF0000FFu, 0xFF00FF00u}));
}

TEST(BmpImageTest, RefusesFilesShorterThanTheirPixels) {
  std::vector<unsigned char> file = smallBmp();
  file.resize(file.size() - 1);
  BmpImage image;
  EXPECT_FALSE(decodeBmp(file.data(), file.size(), image));
  EXPECT_EQ(image.width, 0);
}

TEST(BmpImageTest, RefusesCompressedAndOddDepths) {
  std::vector<unsigned char> file = smallBmp();
  file[30] = 1;  // run-length compression
  BmpImage image;
  EXPECT_FALSE(decodeBmp(file.data(), file.size(), image));
  file = smallBmp();
  file[28] = 16;
  EXPECT_FALSE(decodeBmp(file.data(), file.size(), image));
}

TEST(BmpImageTest, RefusesHugeDimensionsWithoutAllocating) {
  std::vector<unsigned char> file = smallBmp();
  file[18] = 0xFF;
  file[19] = 0xFF;
  file[20] = 0xFF;
  file[21] = 0x7F;
  BmpImage image;
  EXPECT_FALSE(decodeBmp(file.data(), file.size(), image));
}

}  // namespace
