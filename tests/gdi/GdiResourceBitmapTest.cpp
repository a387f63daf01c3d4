#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ModuleResourceCopy.h"
#include "gui/CBitmap.h"
#include "gui/win32/GdiResourceBitmap.h"
#include "support/TemporaryDirectory.h"

namespace {

constexpr int kTestBitmapId = 20001;

// Colours that change along both axes, so that a mix-up of rows, columns
// or channels shows.
std::vector<std::uint32_t> testPixels(std::int32_t width, std::int32_t height) {
  std::vector<std::uint32_t> pixels;
  for (std::int32_t y = 0; y < height; ++y)
    for (std::int32_t x = 0; x < width; ++x)
      pixels.push_back(static_cast<std::uint32_t>(((x * 53 + 7) & 0xFF) << 16 | ((y * 91 + 11) & 0xFF) << 8 |
                                                  ((x * 17 + y * 29 + 3) & 0xFF)));
  return pixels;
}

struct BitmapCase {
  const char* name;
  std::int32_t width;
  std::int32_t height;
  int bitsPerPixel;
};

// A copy of the built module given one more BITMAP resource, loaded.
class GdiResourceBitmapTest : public ::testing::TestWithParam<BitmapCase> {
 protected:
  void TearDown() override {
    if (module) FreeLibrary(module);
  }
  void loadCopyWith(const std::vector<unsigned char>& bitmap) {
    const std::string copy = (directory / "bitmaps.dll").string();
    ASSERT_TRUE(copyModuleWithBitmaps(GDI_MODULE_FILE, copy, {{kTestBitmapId, bitmap}}));
    module = LoadLibraryA(copy.c_str());
    ASSERT_NE(module, nullptr);
  }

  TemporaryDirectory directory;
  HMODULE module = nullptr;
};

TEST_P(GdiResourceBitmapTest, ReadsTheResourcePixelForPixel) {
  const BitmapCase& test = GetParam();
  const std::vector<std::uint32_t> pixels = testPixels(test.width, test.height);
  loadCopyWith(packedBitmap(test.width, test.height, test.bitsPerPixel, pixels));
  BmpImage image;
  ASSERT_TRUE(loadResourceBitmap(module, kTestBitmapId, image));
  EXPECT_EQ(image.width, test.width);
  EXPECT_EQ(image.height, test.height);
  std::vector<std::uint32_t> opaque;
  for (std::uint32_t pixel : pixels) opaque.push_back(0xFF000000u | pixel);
  EXPECT_EQ(image.pixels, opaque);
}

// Odd widths, so that rows carry padding.
INSTANTIATE_TEST_SUITE_P(Depths, GdiResourceBitmapTest,
                         ::testing::Values(BitmapCase{"palette8", 7, 3, 8}, BitmapCase{"rgb24", 5, 3, 24},
                                           BitmapCase{"rgb32", 3, 2, 32}),
                         [](const ::testing::TestParamInfo<BitmapCase>& info) { return info.param.name; });

TEST_F(GdiResourceBitmapTest, AMissingResourceGivesAnEmptyImage) {
  loadCopyWith(packedBitmap(1, 1, 24, {0x123456}));
  BmpImage image;
  image.width = 5;
  EXPECT_FALSE(loadResourceBitmap(module, kTestBitmapId + 1, image));
  EXPECT_EQ(image.width, 0);
  EXPECT_TRUE(image.pixels.empty());
}

std::vector<unsigned char> fileBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// This test program carries the skin as resources, as the module does: a
// skin bitmap is its resource, read exactly as the committed file holds it.
TEST(GdiSkinBitmapTest, SkinBitmapsAreTheProgramsResources) {
  for (auto [id, file] : {std::pair{10001, "background_10001.bmp"}, std::pair{10002, "handle_10002.bmp"}}) {
    SCOPED_TRACE(id);
    const std::vector<unsigned char> bytes = fileBytes(std::string(SKIN_DIRECTORY) + "/" + file);
    BmpImage expected;
    ASSERT_TRUE(decodeBmp(bytes.data(), bytes.size(), expected));
    CBitmap bitmap(id);
    EXPECT_EQ(bitmap.getWidth(), expected.width);
    EXPECT_EQ(bitmap.getHeight(), expected.height);
    EXPECT_EQ(bitmap.getPixels(), expected.pixels);
  }
  EXPECT_FALSE(CBitmap(kTestBitmapId).isLoaded());
}

}  // namespace
