#include "gui/win32/GdiResourceBitmap.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

constexpr std::int32_t maximumSide = 16384;

// The bitmap's pixels as rows from the top, 0xFFRRGGBB each.
bool readPixels(HBITMAP bitmap, BmpImage& image) {
  BITMAP description{};
  if (!GetObjectA(bitmap, sizeof description, &description)) return false;
  if (description.bmWidth <= 0 || description.bmWidth > maximumSide || description.bmHeight <= 0 ||
      description.bmHeight > maximumSide)
    return false;
  BITMAPINFO request{};
  request.bmiHeader.biSize = sizeof request.bmiHeader;
  request.bmiHeader.biWidth = description.bmWidth;
  request.bmiHeader.biHeight = -description.bmHeight;  // top-down rows
  request.bmiHeader.biPlanes = 1;
  request.bmiHeader.biBitCount = 32;
  request.bmiHeader.biCompression = BI_RGB;
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(description.bmWidth) * description.bmHeight);
  HDC dc = CreateCompatibleDC(nullptr);
  if (!dc) return false;
  const int rows = GetDIBits(dc, bitmap, 0, static_cast<UINT>(description.bmHeight), pixels.data(), &request,
                             DIB_RGB_COLORS);
  DeleteDC(dc);
  if (rows != description.bmHeight) return false;
  std::transform(pixels.begin(), pixels.end(), pixels.begin(),
                 [](std::uint32_t pixel) { return 0xFF000000u | pixel; });
  image.width = description.bmWidth;
  image.height = description.bmHeight;
  image.pixels = std::move(pixels);
  return true;
}

}  // namespace

bool loadResourceBitmap(HINSTANCE module, std::int32_t id, BmpImage& image) {
  image = BmpImage{};
  auto* bitmap =
      static_cast<HBITMAP>(LoadImageA(module, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (!bitmap) return false;
  bool read = readPixels(bitmap, image);
  DeleteObject(bitmap);
  if (!read) image = BmpImage{};
  return read;
}
