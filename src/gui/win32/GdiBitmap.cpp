#include "gui/win32/GdiBitmap.h"

#include <algorithm>
#include <memory>

#include "gui/CBitmap.h"
#include "gui/win32/GdiDibSection.h"

namespace {

// GDI compares colour keys on red, green and blue only when the fourth byte
// of every pixel is 0.
constexpr std::uint32_t rgbBits = 0x00FFFFFFu;

}  // namespace

HBITMAP GdiBitmap::handleOf(CBitmap& bitmap) {
  if (auto* made = dynamic_cast<GdiBitmap*>(bitmap.getBackendData())) return made->handle;
  if (!bitmap.isLoaded()) return nullptr;
  std::uint32_t* pixels = nullptr;
  HBITMAP handle = createDibSection(bitmap.getWidth(), bitmap.getHeight(), &pixels);
  if (!handle) return nullptr;
  const std::vector<std::uint32_t>& source = bitmap.getPixels();
  std::transform(source.begin(), source.end(), pixels, [](std::uint32_t pixel) { return pixel & rgbBits; });
  GdiFlush();
  bitmap.setBackendData(std::make_unique<GdiBitmap>(handle));
  return handle;
}

GdiBitmap::~GdiBitmap() { DeleteObject(handle); }
