#include "gui/BmpImage.h"

namespace {

constexpr std::size_t fileHeaderSize = 14;
constexpr std::size_t minimumInfoSize = 40;
constexpr std::int32_t maximumSide = 16384;

std::uint32_t readLittle(const unsigned char* bytes, std::size_t count) {
  std::uint32_t value = 0;
  for (std::size_t i = count; i > 0; --i) value = (value << 8) | bytes[i - 1];
  return value;
}

struct BmpLayout {
  std::size_t pixelOffset;
  std::size_t paletteOffset;
  std::size_t paletteCount;
  std::int32_t width;
  std::int32_t height;
  bool topDown;
  std::uint32_t bitsPerPixel;
  std::size_t rowBytes;
};

bool readLayout(const unsigned char* data, std::size_t size, BmpLayout& layout) {
  if (size < fileHeaderSize + minimumInfoSize || data[0] != 'B' || data[1] != 'M') return false;
  const unsigned char* info = data + fileHeaderSize;
  std::size_t infoSize = readLittle(info, 4);
  auto signedHeight = static_cast<std::int32_t>(readLittle(info + 8, 4));
  layout.width = static_cast<std::int32_t>(readLittle(info + 4, 4));
  layout.topDown = signedHeight < 0;
  layout.height = signedHeight < 0 ? -signedHeight : signedHeight;
  layout.bitsPerPixel = readLittle(info + 14, 2);
  std::uint32_t compression = readLittle(info + 16, 4);
  std::uint32_t colorsUsed = readLittle(info + 32, 4);
  if (infoSize < minimumInfoSize || compression != 0) return false;
  if (layout.width <= 0 || layout.width > maximumSide || layout.height <= 0 || layout.height > maximumSide)
    return false;
  if (layout.bitsPerPixel != 8 && layout.bitsPerPixel != 24 && layout.bitsPerPixel != 32) return false;
  layout.pixelOffset = readLittle(data + 10, 4);
  layout.paletteOffset = fileHeaderSize + infoSize;
  layout.paletteCount = layout.bitsPerPixel == 8 ? (colorsUsed == 0 ? 256 : colorsUsed) : 0;
  if (layout.paletteCount > 256) return false;
  layout.rowBytes = (static_cast<std::size_t>(layout.width) * layout.bitsPerPixel + 31) / 32 * 4;
  if (layout.paletteOffset + layout.paletteCount * 4 > size) return false;
  return layout.pixelOffset <= size && layout.rowBytes * layout.height <= size - layout.pixelOffset;
}

std::uint32_t pixelAt(const unsigned char* data, const BmpLayout& layout, const unsigned char* pixel) {
  if (layout.bitsPerPixel == 8) {
    if (*pixel >= layout.paletteCount) return 0xFF000000u;
    return 0xFF000000u | (readLittle(data + layout.paletteOffset + *pixel * 4u, 3));
  }
  return 0xFF000000u | readLittle(pixel, 3);
}

}  // namespace

bool decodeBmp(const unsigned char* data, std::size_t size, BmpImage& image) {
  image = BmpImage{};
  BmpLayout layout{};
  if (!data || !readLayout(data, size, layout)) return false;
  image.width = layout.width;
  image.height = layout.height;
  image.pixels.resize(static_cast<std::size_t>(layout.width) * layout.height);
  std::size_t bytesPerPixel = layout.bitsPerPixel / 8;
  for (std::int32_t y = 0; y < layout.height; ++y) {
    std::int32_t storedRow = layout.topDown ? y : layout.height - 1 - y;
    const unsigned char* row = data + layout.pixelOffset + layout.rowBytes * storedRow;
    for (std::int32_t x = 0; x < layout.width; ++x)
      image.pixels[static_cast<std::size_t>(y) * layout.width + x] =
          pixelAt(data, layout, row + x * bytesPerPixel);
  }
  return true;
}
