// Copying a bitmap's area while leaving out the pixels of one colour.
#pragma once

#include <windows.h>

#include <cstdint>

struct GdiBlitArea {
  std::int32_t x;  // destination position
  std::int32_t y;
  std::int32_t width;
  std::int32_t height;
  std::int32_t sourceX;
  std::int32_t sourceY;
};

// The system's TransparentBlt (msimg32, looked up once, on NT-family
// systems only, as older ones leak with it) when there is one, else
// maskedTransparentBlit.
void transparentBlit(HDC destination, HDC source, const GdiBlitArea& area, COLORREF key);

// The system's function only; false when it is not available or failed.
bool systemTransparentBlit(HDC destination, HDC source, const GdiBlitArea& area, COLORREF key);

// A monochrome mask of the key colour and an inverting, a masking and a
// second inverting copy.
void maskedTransparentBlit(HDC destination, HDC source, const GdiBlitArea& area, COLORREF key);
