#include "gui/win32/GdiDrawContext.h"

#include <cstring>

#include "gui/CBitmap.h"
#include "gui/win32/GdiBitmap.h"
#include "gui/win32/GdiMemoryDc.h"
#include "gui/win32/GdiTransparentBlit.h"

namespace {

COLORREF colorRef(CColor color) { return RGB(color.red, color.green, color.blue); }

RECT winRect(const CRect& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

UINT alignmentFlag(CHoriTxtAlign align) {
  switch (align) {
    case kCenterText:
      return DT_CENTER;
    case kRightText:
      return DT_RIGHT;
    default:
      return DT_LEFT;
  }
}

}  // namespace

GdiDrawContext::GdiDrawContext(HDC dc, std::int32_t width, std::int32_t height)
    : dc(dc), savedState(SaveDC(dc)) {
  SetBkMode(dc, TRANSPARENT);
  setClipRect({0, 0, width, height});
}

GdiDrawContext::~GdiDrawContext() { finishDrawing(); }

void GdiDrawContext::finishDrawing() {
  if (!dc) return;
  RestoreDC(dc, savedState);
  if (brush) DeleteObject(brush);
  if (pen) DeleteObject(pen);
  if (font) DeleteObject(font);
  brush = nullptr;
  pen = nullptr;
  font = nullptr;
  dc = nullptr;
}

void GdiDrawContext::replaceObject(HGDIOBJ& current, HGDIOBJ replacement) {
  SelectObject(dc, replacement);
  if (current) DeleteObject(current);
  current = replacement;
}

HBRUSH GdiDrawContext::fillBrush() {
  if (!brush || !brushColor.sameRgb(getFillColor())) {
    if (brush) DeleteObject(brush);
    brushColor = getFillColor();
    brush = CreateSolidBrush(colorRef(brushColor));
    ++brushCreations;
  }
  return brush;
}

void GdiDrawContext::selectFramePen() {
  if (pen && penColor.sameRgb(getFrameColor())) return;
  penColor = getFrameColor();
  replaceObject(pen, CreatePen(PS_SOLID, 1, colorRef(penColor)));
  ++penCreations;
}

void GdiDrawContext::fillRect(const CRect& rect) {
  if (!dc || rect.width() <= 0 || rect.height() <= 0) return;
  RECT area = winRect(rect);
  FillRect(dc, &area, fillBrush());
}

void GdiDrawContext::drawLine(CPoint from, CPoint to) {
  if (!dc) return;
  selectFramePen();
  MoveToEx(dc, from.x, from.y, nullptr);
  LineTo(dc, to.x, to.y);
}

void GdiDrawContext::selectFont(const FontDescription& description, std::int32_t size, std::int32_t face) {
  if (!dc) return;
  bool bold = description.alwaysBold || (face & kBoldFace);
  DWORD family = description.decorative ? FF_DECORATIVE : (VARIABLE_PITCH | FF_SWISS);
  // A negative height asks for that character height rather than cell height.
  HFONT made = CreateFontA(-size, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, (face & kItalicFace) != 0,
                           (face & kUnderlineFace) != 0, FALSE, ANSI_CHARSET, OUT_STRING_PRECIS,
                           CLIP_STROKE_PRECIS, DEFAULT_QUALITY, family, description.face);
  if (made) replaceObject(font, made);
}

void GdiDrawContext::ensureFont() {
  if (getFontId() < 0) setFont(kSystemFont);
}

std::int32_t GdiDrawContext::getStringWidth(const char* text) {
  if (!dc || !text) return 0;
  ensureFont();
  SIZE extent{};
  GetTextExtentPoint32A(dc, text, static_cast<int>(std::strlen(text)), &extent);
  return extent.cx;
}

void GdiDrawContext::drawString(const char* text, const CRect& rect, CHoriTxtAlign align) {
  if (!dc || !text || !*text) return;
  ensureFont();
  SetTextColor(dc, colorRef(getFontColor()));
  if (!isTextTransparent()) {
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, colorRef(getFillColor()));
  }
  RECT area = winRect(rect);
  DrawTextA(dc, text, -1, &area, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | alignmentFlag(align));
  SetBkMode(dc, TRANSPARENT);
}

void GdiDrawContext::setClipRect(const CRect& rect) {
  clipRect = rect;
  if (!dc) return;
  HRGN region = CreateRectRgn(rect.left, rect.top, rect.right, rect.bottom);
  SelectClipRgn(dc, region);
  DeleteObject(region);
}

void GdiDrawContext::copyBitmap(CBitmap& bitmap, const CRect& rect, CPoint offset, bool keyed) {
  if (!dc) return;
  HBITMAP handle = GdiBitmap::handleOf(bitmap);
  if (!handle) return;
  // Only the part of rect that the bitmap covers from offset is drawn.
  CRect covered{rect.left - offset.x, rect.top - offset.y, rect.left - offset.x + bitmap.getWidth(),
                rect.top - offset.y + bitmap.getHeight()};
  CRect area = rect.intersection(covered);
  if (area.width() <= 0 || area.height() <= 0) return;
  GdiMemoryDc source(dc, handle);
  if (!source.isValid()) return;
  GdiBlitArea blit{area.left,
                   area.top,
                   area.width(),
                   area.height(),
                   offset.x + area.left - rect.left,
                   offset.y + area.top - rect.top};
  if (keyed)
    transparentBlit(dc, source.get(), blit, colorRef(bitmap.getTransparentColor()));
  else
    BitBlt(dc, blit.x, blit.y, blit.width, blit.height, source.get(), blit.sourceX, blit.sourceY, SRCCOPY);
}

void GdiDrawContext::drawBitmap(CBitmap& bitmap, const CRect& rect, CPoint offset) {
  copyBitmap(bitmap, rect, offset, false);
}

void GdiDrawContext::drawBitmapKeyed(CBitmap& bitmap, const CRect& rect, CPoint offset) {
  copyBitmap(bitmap, rect, offset, true);
}

void GdiDrawContext::copyFrom(CDrawContext& offscreen, const CRect& rect) {
  auto* source = dynamic_cast<GdiDrawContext*>(&offscreen);
  if (!dc || !source || !source->dc) return;
  GdiFlush();
  BitBlt(dc, rect.left, rect.top, rect.width(), rect.height(), source->dc, 0, 0, SRCCOPY);
}
