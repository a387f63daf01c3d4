// The draw context on a GDI device context: a window's, a paint's or an
// offscreen buffer's.
#pragma once

#include <windows.h>

#include "gui/CDrawContext.h"

// Makes a brush only when the fill colour changed since the last fill, a
// pen only when the frame colour changed since the last line, and a font
// only when the font changed. Leaves the device context as it found it.
class GdiDrawContext : public CDrawContext {
 public:
  // Draws on dc (the caller's) with the origin at its (0, 0); size is the
  // area first clipped to.
  GdiDrawContext(HDC dc, std::int32_t width, std::int32_t height);
  ~GdiDrawContext() override;

  void fillRect(const CRect& rect) override;
  void drawString(const char* text, const CRect& rect, CHoriTxtAlign align) override;
  std::int32_t getStringWidth(const char* text) override;
  void setClipRect(const CRect& rect) override;
  void drawBitmap(CBitmap& bitmap, const CRect& rect, CPoint offset) override;
  void drawBitmapKeyed(CBitmap& bitmap, const CRect& rect, CPoint offset) override;
  void copyFrom(CDrawContext& offscreen, const CRect& rect) override;

  HDC getDc() const { return dc; }
  std::int32_t getBrushCreations() const { return brushCreations; }
  std::int32_t getPenCreations() const { return penCreations; }

 protected:
  // Gives the device context back as it was and frees what this context
  // made; it draws no more. Contexts that own their device context call it
  // before releasing it.
  void finishDrawing();

  void selectFont(const FontDescription& font, std::int32_t size, std::int32_t face) override;
  void drawLine(CPoint from, CPoint to) override;

 private:
  void ensureFont();
  HBRUSH fillBrush();
  void selectFramePen();
  void replaceObject(HGDIOBJ& current, HGDIOBJ replacement);
  void copyBitmap(CBitmap& bitmap, const CRect& rect, CPoint offset, bool keyed);

  HDC dc;
  int savedState;
  HBRUSH brush = nullptr;
  CColor brushColor;
  HGDIOBJ pen = nullptr;
  CColor penColor;
  HGDIOBJ font = nullptr;
  std::int32_t brushCreations = 0;
  std::int32_t penCreations = 0;
};
