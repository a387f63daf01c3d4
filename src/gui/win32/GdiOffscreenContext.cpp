#include "gui/win32/GdiOffscreenContext.h"

#include "gui/win32/GdiDibSection.h"

std::unique_ptr<GdiOffscreenContext> GdiOffscreenContext::create(std::int32_t width, std::int32_t height) {
  std::uint32_t* pixels = nullptr;
  HBITMAP bitmap = createDibSection(width, height, &pixels);
  if (!bitmap) return nullptr;
  HDC memoryDc = CreateCompatibleDC(nullptr);
  if (!memoryDc) {
    DeleteObject(bitmap);
    return nullptr;
  }
  SelectObject(memoryDc, bitmap);
  return std::make_unique<GdiOffscreenContext>(memoryDc, bitmap, pixels, width, height);
}

GdiOffscreenContext::GdiOffscreenContext(HDC memoryDc, HBITMAP bitmap, const std::uint32_t* pixels,
                                         std::int32_t width, std::int32_t height)
    : GdiDrawContext(memoryDc, width, height),
      memoryDc(memoryDc),
      bitmap(bitmap),
      pixels(pixels),
      width(width),
      height(height) {}

GdiOffscreenContext::~GdiOffscreenContext() {
  finishDrawing();
  // Deleting the context releases the bitmap selected into it.
  DeleteDC(memoryDc);
  DeleteObject(bitmap);
}

std::uint32_t GdiOffscreenContext::pixel(std::int32_t x, std::int32_t y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) return 0;
  GdiFlush();
  return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)] &
         0x00FFFFFFu;
}
