// The draw context on a cairo surface: an X11 window, a headless image or
// an offscreen buffer.
#pragma once

#include <cairo.h>

#include "gui/CDrawContext.h"

// Pixel-exact drawing: integer rectangles, one-pixel lines without
// antialiasing, bitmaps copied at whole-pixel offsets.
class CairoDrawContext : public CDrawContext {
 public:
  // Draws on the surface (a reference is taken) with the origin at the
  // surface's corner; size is the area first clipped to.
  CairoDrawContext(cairo_surface_t* surface, std::int32_t width, std::int32_t height);
  // Flushes what was drawn to the surface.
  ~CairoDrawContext() override;

  void fillRect(const CRect& rect) override;
  void drawString(const char* text, const CRect& rect, CHoriTxtAlign align) override;
  std::int32_t getStringWidth(const char* text) override;
  void setClipRect(const CRect& rect) override;
  void drawBitmap(CBitmap& bitmap, const CRect& rect, CPoint offset) override;
  void drawBitmapKeyed(CBitmap& bitmap, const CRect& rect, CPoint offset) override;
  void copyFrom(CDrawContext& offscreen, const CRect& rect) override;

  cairo_surface_t* getSurface() const { return surface; }

 protected:
  // Ends drawing and flushes the surface; the context draws no more.
  void finishDrawing();

  void selectFont(const FontDescription& font, std::int32_t size, std::int32_t face) override;
  void drawLine(CPoint from, CPoint to) override;

 private:
  void setSourceColor(CColor color);
  void paintPixels(const std::uint32_t* pixels, cairo_format_t format, std::int32_t width,
                   std::int32_t height, const CRect& rect, CPoint offset);

  cairo_surface_t* surface;
  cairo_t* cairo;
  bool underline = false;
};
