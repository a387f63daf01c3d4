#include "gui/CDrawContext.h"

void CDrawContext::setFont(std::int32_t newFontId, std::int32_t size, std::int32_t face) {
  if (newFontId < 0 || newFontId >= kNumStandardFonts) newFontId = kSystemFont;
  const FontDescription& font = fontDescription(newFontId);
  if (size == 0) size = font.size;
  if (newFontId == fontId && size == fontSize && face == fontFace) return;
  fontId = newFontId;
  fontSize = size;
  fontFace = face;
  ++fontCreations;
  selectFont(font, size, face);
}

void CDrawContext::lineTo(CPoint point) {
  drawLine(penPosition, point);
  penPosition = point;
}
