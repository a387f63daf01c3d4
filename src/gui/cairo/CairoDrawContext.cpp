#include "gui/cairo/CairoDrawContext.h"

#include <cmath>
#include <cstdlib>

#include "gui/CBitmap.h"

CairoDrawContext::CairoDrawContext(cairo_surface_t* surface, std::int32_t width, std::int32_t height)
    : surface(cairo_surface_reference(surface)), cairo(cairo_create(surface)) {
  cairo_set_antialias(cairo, CAIRO_ANTIALIAS_NONE);
  setClipRect({0, 0, width, height});
}

CairoDrawContext::~CairoDrawContext() {
  finishDrawing();
  cairo_surface_destroy(surface);
}

void CairoDrawContext::finishDrawing() {
  if (!cairo) return;
  cairo_destroy(cairo);
  cairo = nullptr;
  cairo_surface_flush(surface);
}

void CairoDrawContext::setSourceColor(CColor color) {
  cairo_set_source_rgb(cairo, color.red / 255.0, color.green / 255.0, color.blue / 255.0);
}

void CairoDrawContext::fillRect(const CRect& rect) {
  if (rect.width() <= 0 || rect.height() <= 0) return;
  setSourceColor(getFillColor());
  cairo_rectangle(cairo, rect.left, rect.top, rect.width(), rect.height());
  cairo_fill(cairo);
}

void CairoDrawContext::drawLine(CPoint from, CPoint to) {
  // Bresenham's walk, so that every pixel but the end point is set exactly
  // as a one-pixel pen does it.
  std::int32_t dx = std::abs(to.x - from.x);
  std::int32_t dy = -std::abs(to.y - from.y);
  std::int32_t stepX = from.x < to.x ? 1 : -1;
  std::int32_t stepY = from.y < to.y ? 1 : -1;
  std::int32_t error = dx + dy;
  CPoint point = from;
  while (point != to) {
    cairo_rectangle(cairo, point.x, point.y, 1, 1);
    std::int32_t twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      point.x += stepX;
    }
    if (twice <= dx) {
      error += dx;
      point.y += stepY;
    }
  }
  setSourceColor(getFrameColor());
  cairo_fill(cairo);
}

void CairoDrawContext::selectFont(const FontDescription& font, std::int32_t size, std::int32_t face) {
  bool bold = font.alwaysBold || (face & kBoldFace);
  cairo_select_font_face(cairo, font.face,
                         (face & kItalicFace) ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
                         bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cairo, size);
  underline = (face & kUnderlineFace) != 0;
}

std::int32_t CairoDrawContext::getStringWidth(const char* text) {
  if (!text) return 0;
  if (getFontId() < 0) setFont(kSystemFont);
  cairo_text_extents_t extents;
  cairo_text_extents(cairo, text, &extents);
  return static_cast<std::int32_t>(std::lround(extents.x_advance));
}

void CairoDrawContext::drawString(const char* text, const CRect& rect, CHoriTxtAlign align) {
  if (!text || !*text) return;
  if (getFontId() < 0) setFont(kSystemFont);
  cairo_font_extents_t font;
  cairo_font_extents(cairo, &font);
  std::int32_t width = getStringWidth(text);
  std::int32_t x = rect.left;
  if (align == kCenterText) x = rect.left + (rect.width() - width) / 2;
  if (align == kRightText) x = rect.right - width;
  auto lineHeight = static_cast<std::int32_t>(std::lround(font.ascent + font.descent));
  std::int32_t top = rect.top + (rect.height() - lineHeight) / 2;
  auto baseline = top + static_cast<std::int32_t>(std::lround(font.ascent));
  if (!isTextTransparent()) fillRect({x, top, x + width, top + lineHeight});
  cairo_save(cairo);
  cairo_set_antialias(cairo, CAIRO_ANTIALIAS_DEFAULT);
  setSourceColor(getFontColor());
  cairo_move_to(cairo, x, baseline);
  cairo_show_text(cairo, text);
  cairo_restore(cairo);
  if (underline) {
    setSourceColor(getFontColor());
    cairo_rectangle(cairo, x, baseline + 1, width, 1);
    cairo_fill(cairo);
  }
}

void CairoDrawContext::setClipRect(const CRect& rect) {
  clipRect = rect;
  cairo_reset_clip(cairo);
  cairo_rectangle(cairo, rect.left, rect.top, rect.width(), rect.height());
  cairo_clip(cairo);
}

void CairoDrawContext::paintPixels(const std::uint32_t* pixels, cairo_format_t format, std::int32_t width,
                                   std::int32_t height, const CRect& rect, CPoint offset) {
  if (!pixels || width <= 0 || height <= 0 || rect.width() <= 0 || rect.height() <= 0) return;
  // Cairo only reads the pixels here; the surface lives for this call.
  auto* data = reinterpret_cast<unsigned char*>(const_cast<std::uint32_t*>(pixels));
  cairo_surface_t* source = cairo_image_surface_create_for_data(data, format, width, height, width * 4);
  cairo_set_source_surface(cairo, source, rect.left - offset.x, rect.top - offset.y);
  cairo_rectangle(cairo, rect.left, rect.top, rect.width(), rect.height());
  cairo_fill(cairo);
  cairo_set_source_rgb(cairo, 0, 0, 0);
  cairo_surface_destroy(source);
}

void CairoDrawContext::drawBitmap(CBitmap& bitmap, const CRect& rect, CPoint offset) {
  paintPixels(bitmap.getPixels().data(), CAIRO_FORMAT_RGB24, bitmap.getWidth(), bitmap.getHeight(), rect,
              offset);
}

void CairoDrawContext::drawBitmapKeyed(CBitmap& bitmap, const CRect& rect, CPoint offset) {
  paintPixels(bitmap.getKeyedPixels().data(), CAIRO_FORMAT_ARGB32, bitmap.getWidth(), bitmap.getHeight(),
              rect, offset);
}

void CairoDrawContext::copyFrom(CDrawContext& offscreen, const CRect& rect) {
  auto* source = dynamic_cast<CairoDrawContext*>(&offscreen);
  if (!source) return;
  cairo_surface_flush(source->surface);
  cairo_set_source_surface(cairo, source->surface, rect.left, rect.top);
  cairo_rectangle(cairo, rect.left, rect.top, rect.width(), rect.height());
  cairo_fill(cairo);
  cairo_set_source_rgb(cairo, 0, 0, 0);
}
