#include "gui/CParamDisplay.h"

#include <cstdio>

#include "gui/CBitmap.h"

CParamDisplay::CParamDisplay(const CRect& size, CBitmap* background, std::int32_t style)
    : CControl(size, nullptr, 0, background), style(style) {}

void CParamDisplay::draw(CDrawContext* context) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", static_cast<double>(value));
  drawText(context, text);
}

void CParamDisplay::drawText(CDrawContext* context, const char* text) {
  setDirty(false);
  if (!context || (style & kNoDrawStyle)) return;
  drawBackground(*context);
  if ((style & kNoTextStyle) || !text || !*text) return;
  CRect previousClip = context->getClipRect();
  context->setClipRect(previousClip.intersection(viewSize));
  context->setFont(fontId, 0, txtFace);
  if (style & kShadowText) drawTextLine(*context, text, viewSize.offsetBy(1, 1), shadowColor);
  drawTextLine(*context, text, viewSize, fontColor);
  context->setClipRect(previousClip);
}

void CParamDisplay::drawBackground(CDrawContext& context) {
  if (background) {
    if (transparent)
      context.drawBitmapKeyed(*background, viewSize, backOffset);
    else
      context.drawBitmap(*background, viewSize, backOffset);
    return;
  }
  if (transparent) return;
  context.setFillColor(backColor);
  context.fillRect({viewSize.left + 1, viewSize.top + 1, viewSize.right, viewSize.bottom});
  if (style & (k3DIn | k3DOut | kNoFrame)) return;
  context.setFrameColor(frameColor);
  context.moveTo({viewSize.left, viewSize.top});
  context.lineTo({viewSize.right - 1, viewSize.top});
  context.lineTo({viewSize.right - 1, viewSize.bottom - 1});
  context.lineTo({viewSize.left, viewSize.bottom - 1});
  context.lineTo({viewSize.left, viewSize.top});
}

void CParamDisplay::drawTextLine(CDrawContext& context, const char* text, const CRect& rect, CColor color) {
  CRect area = rect;
  if (horiTxtAlign == kLeftText) area.left += 1;
  context.setFontColor(color);
  context.setFillColor(backColor);
  context.setTextTransparent(textTransparent);
  context.drawString(text, area, horiTxtAlign);
  context.setTextTransparent(true);
}
