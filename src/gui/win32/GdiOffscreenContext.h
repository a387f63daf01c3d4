// An offscreen buffer to draw into and copy from: a memory device context
// holding a 32-bit bitmap of its own.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "gui/win32/GdiDrawContext.h"

// Needs no display. Starts black.
class GdiOffscreenContext final : public GdiDrawContext {
 public:
  // nullptr when GDI cannot make the buffer.
  static std::unique_ptr<GdiOffscreenContext> create(std::int32_t width, std::int32_t height);
  // Takes the memory context with the bitmap selected into it, and both
  // with it.
  GdiOffscreenContext(HDC memoryDc, HBITMAP bitmap, const std::uint32_t* pixels, std::int32_t width,
                      std::int32_t height);
  ~GdiOffscreenContext() override;

  std::int32_t getWidth() const { return width; }
  std::int32_t getHeight() const { return height; }
  // The pixel as 0xRRGGBB once what was drawn has reached the buffer (0
  // outside the buffer).
  std::uint32_t pixel(std::int32_t x, std::int32_t y) const;

 private:
  HDC memoryDc;
  HBITMAP bitmap;
  const std::uint32_t* pixels;
  std::int32_t width;
  std::int32_t height;
};
