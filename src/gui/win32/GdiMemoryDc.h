// A memory device context with a bitmap selected into it, for the time of
// one copy.
#pragma once

#include <windows.h>

// Deselects the bitmap and deletes the context when destroyed; the bitmap
// stays the caller's. isValid() is false when GDI could not make the context.
class GdiMemoryDc {
 public:
  // compatibleWith may be nullptr (compatible with the screen).
  GdiMemoryDc(HDC compatibleWith, HBITMAP bitmap);
  ~GdiMemoryDc();
  GdiMemoryDc(const GdiMemoryDc&) = delete;
  GdiMemoryDc& operator=(const GdiMemoryDc&) = delete;

  bool isValid() const { return dc != nullptr; }
  HDC get() const { return dc; }

 private:
  HDC dc;
  HGDIOBJ previous = nullptr;
};
