#include "gui/win32/GdiTransparentBlit.h"

#include "gui/win32/GdiMemoryDc.h"

namespace {

using TransparentBltFunction = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, UINT);

bool isNtFamily() { return (GetVersion() & 0x80000000u) == 0; }

TransparentBltFunction lookUpTransparentBlt() {
  if (!isNtFamily()) return nullptr;
  HMODULE library = LoadLibraryA("msimg32.dll");
  if (!library) return nullptr;
  return reinterpret_cast<TransparentBltFunction>(
      reinterpret_cast<void*>(GetProcAddress(library, "TransparentBlt")));
}

// The library stays loaded for the process, as the function may be used
// until the module goes.
TransparentBltFunction systemFunction() {
  static const TransparentBltFunction function = lookUpTransparentBlt();
  return function;
}

}  // namespace

bool systemTransparentBlit(HDC destination, HDC source, const GdiBlitArea& area, COLORREF key) {
  TransparentBltFunction function = systemFunction();
  return function && function(destination, area.x, area.y, area.width, area.height, source, area.sourceX,
                              area.sourceY, area.width, area.height, key);
}

void maskedTransparentBlit(HDC destination, HDC source, const GdiBlitArea& area, COLORREF key) {
  HBITMAP maskBitmap = CreateBitmap(area.width, area.height, 1, 1, nullptr);
  if (!maskBitmap) return;
  {
    GdiMemoryDc mask(destination, maskBitmap);
    if (mask.isValid()) {
      // Colour to monochrome: the source's background colour becomes 1
      // (the key's pixels), every other colour 0.
      COLORREF sourceBackground = SetBkColor(source, key);
      BitBlt(mask.get(), 0, 0, area.width, area.height, source, area.sourceX, area.sourceY, SRCCOPY);
      SetBkColor(source, sourceBackground);
      // Monochrome to colour: 1 becomes the background colour (white keeps
      // what lies beneath), 0 the text colour (black clears it).
      COLORREF background = SetBkColor(destination, RGB(255, 255, 255));
      COLORREF text = SetTextColor(destination, RGB(0, 0, 0));
      BitBlt(destination, area.x, area.y, area.width, area.height, source, area.sourceX, area.sourceY,
             SRCINVERT);
      BitBlt(destination, area.x, area.y, area.width, area.height, mask.get(), 0, 0, SRCAND);
      BitBlt(destination, area.x, area.y, area.width, area.height, source, area.sourceX, area.sourceY,
             SRCINVERT);
      SetBkColor(destination, background);
      SetTextColor(destination, text);
    }
  }
  DeleteObject(maskBitmap);
}

void transparentBlit(HDC destination, HDC source, const GdiBlitArea& area, COLORREF key) {
  if (!systemTransparentBlit(destination, source, area, key))
    maskedTransparentBlit(destination, source, area, key);
}
