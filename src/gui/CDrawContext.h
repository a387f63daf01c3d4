// Drawing of the toolkit's views, independent of the window system.
#pragma once

#include <cstdint>

#include "gui/CColor.h"
#include "gui/CPoint.h"
#include "gui/CRect.h"
#include "gui/FontTable.h"

class CBitmap;

enum CHoriTxtAlign : std::int32_t { kLeftText = 0, kCenterText, kRightText };

// A surface to draw on in frame coordinates (an offscreen buffer in its own
// coordinates): fills, lines, text in a rectangle and bitmaps, under a clip
// rectangle. A backend implements the primitives; the context remembers the
// colours and the font, and makes a new font only when the font changes.
// GUI thread only.
class CDrawContext {
 public:
  CDrawContext() = default;
  CDrawContext(const CDrawContext&) = delete;
  CDrawContext& operator=(const CDrawContext&) = delete;
  virtual ~CDrawContext() = default;

  void setFillColor(CColor color) { fillColor = color; }
  CColor getFillColor() const { return fillColor; }
  void setFrameColor(CColor color) { frameColor = color; }
  CColor getFrameColor() const { return frameColor; }
  void setFontColor(CColor color) { fontColor = color; }
  CColor getFontColor() const { return fontColor; }
  // Text background: transparent (the default) or filled with the fill colour.
  void setTextTransparent(bool transparent) { textTransparent = transparent; }
  bool isTextTransparent() const { return textTransparent; }

  // Selects a font of the table (ids outside 0 to 7 give font 0) with its
  // own size (size 0) or the given one, and the face bits of CTxtFace.
  void setFont(std::int32_t fontId, std::int32_t size = 0, std::int32_t face = kNormalFace);
  std::int32_t getFontId() const { return fontId; }
  // How many fonts this context has made.
  std::int32_t getFontCreations() const { return fontCreations; }

  // Lines in the frame colour, one pixel wide; the end point is not drawn.
  void moveTo(CPoint point) { penPosition = point; }
  void lineTo(CPoint point);
  // Fills from left, top up to right, bottom (exclusive) with the fill colour.
  virtual void fillRect(const CRect& rect) = 0;
  // One line of text in the font colour, centred vertically in rect and
  // aligned horizontally; no prefix characters.
  virtual void drawString(const char* text, const CRect& rect, CHoriTxtAlign align) = 0;
  virtual std::int32_t getStringWidth(const char* text) = 0;

  // Clipping: nothing outside the clip rectangle changes.
  virtual void setClipRect(const CRect& rect) = 0;
  CRect getClipRect() const { return clipRect; }

  // Copies the bitmap's part from offset into rect (opaque), or skips its
  // pixels of the bitmap's transparent colour (keyed).
  virtual void drawBitmap(CBitmap& bitmap, const CRect& rect, CPoint offset) = 0;
  virtual void drawBitmapKeyed(CBitmap& bitmap, const CRect& rect, CPoint offset) = 0;
  // Copies a whole offscreen context made by the same backend into rect.
  virtual void copyFrom(CDrawContext& offscreen, const CRect& rect) = 0;

 protected:
  // Makes and selects the font; called only when id, size or face changed.
  virtual void selectFont(const FontDescription& font, std::int32_t size, std::int32_t face) = 0;
  // Draws the pixels from one point to the next, end excluded.
  virtual void drawLine(CPoint from, CPoint to) = 0;

  CRect clipRect;

 private:
  CColor fillColor = kWhiteCColor;
  CColor frameColor = kBlackCColor;
  CColor fontColor = kBlackCColor;
  bool textTransparent = true;
  std::int32_t fontId = -1;
  std::int32_t fontSize = -1;
  std::int32_t fontFace = -1;
  std::int32_t fontCreations = 0;
  CPoint penPosition;
};
