#include "gui/win32/GdiMemoryDc.h"

GdiMemoryDc::GdiMemoryDc(HDC compatibleWith, HBITMAP bitmap) : dc(CreateCompatibleDC(compatibleWith)) {
  if (dc) previous = SelectObject(dc, bitmap);
}

GdiMemoryDc::~GdiMemoryDc() {
  if (!dc) return;
  SelectObject(dc, previous);
  DeleteDC(dc);
}
