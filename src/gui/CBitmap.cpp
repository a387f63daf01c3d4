#include "gui/CBitmap.h"

#include <utility>

#include "gui/ModuleBitmaps.h"

CBitmap::CBitmap(std::int32_t resourceId) : resourceId(resourceId) {
  BmpImage image;
  if (!loadModuleBitmap(resourceId, image)) return;
  width = image.width;
  height = image.height;
  pixels = std::move(image.pixels);
}

void CBitmap::setTransparentColor(CColor color) {
  if (color == transparentColor) return;
  transparentColor = color;
  keyedPixels.clear();
}

const std::vector<std::uint32_t>& CBitmap::getKeyedPixels() {
  if (keyedPixels.empty() && !pixels.empty()) {
    std::uint32_t key = 0xFF000000u | (std::uint32_t{transparentColor.red} << 16) |
                        (std::uint32_t{transparentColor.green} << 8) | transparentColor.blue;
    keyedPixels.reserve(pixels.size());
    for (std::uint32_t pixel : pixels) keyedPixels.push_back(pixel == key ? 0u : pixel);
  }
  return keyedPixels;
}
