// The GDI copy of a toolkit bitmap's pixels, kept with the bitmap.
#pragma once

#include <windows.h>

#include "gui/BitmapBackendData.h"

class CBitmap;

class GdiBitmap final : public BitmapBackendData {
 public:
  // The bitmap's GDI handle, made from its pixels on first use; nullptr for
  // a bitmap that has no pixels. The bitmap keeps the handle.
  static HBITMAP handleOf(CBitmap& bitmap);

  explicit GdiBitmap(HBITMAP handle) : handle(handle) {}
  ~GdiBitmap() override;

 private:
  HBITMAP handle;
};
