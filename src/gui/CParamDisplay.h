// A control that shows a text in a box.
#pragma once

#include <cstdint>

#include "gui/CColor.h"
#include "gui/CControl.h"
#include "gui/CDrawContext.h"

enum CParamDisplayStyle : std::int32_t {
  kShadowText = 4,
  k3DIn = 128,
  k3DOut = 256,
  kNoTextStyle = 2048,
  kNoDrawStyle = 4096,
  kNoFrame = 16384,
};

// Draws its background (bitmap, or fill and frame line unless transparent)
// and a text with its font, colours and alignment. GUI thread only.
class CParamDisplay : public CControl {
 public:
  explicit CParamDisplay(const CRect& size, CBitmap* background = nullptr, std::int32_t style = 0);

  // Shows the value with two decimals.
  void draw(CDrawContext* context) override;

  void setFont(std::int32_t newFontId) { fontId = newFontId; }
  std::int32_t getFont() const { return fontId; }
  void setTxtFace(std::int32_t face) { txtFace = face; }
  void setFontColor(CColor color) { fontColor = color; }
  CColor getFontColor() const { return fontColor; }
  void setBackColor(CColor color) { backColor = color; }
  CColor getBackColor() const { return backColor; }
  void setFrameColor(CColor color) { frameColor = color; }
  CColor getFrameColor() const { return frameColor; }
  void setShadowColor(CColor color) { shadowColor = color; }
  void setHoriAlign(CHoriTxtAlign align) { horiTxtAlign = align; }
  void setStyle(std::int32_t newStyle) { style = newStyle; }
  std::int32_t getStyle() const { return style; }
  // With text transparency on (the default) the text's background is not
  // filled.
  void setTextTransparency(bool state) { textTransparent = state; }

 protected:
  // Draws the background and, unless text is nullptr or empty, the text.
  void drawText(CDrawContext* context, const char* text);

 private:
  void drawBackground(CDrawContext& context);
  void drawTextLine(CDrawContext& context, const char* text, const CRect& rect, CColor color);

  std::int32_t style;
  CHoriTxtAlign horiTxtAlign = kCenterText;
  std::int32_t fontId = kNormalFont;
  std::int32_t txtFace = kNormalFace;
  CColor fontColor = kWhiteCColor;
  CColor backColor = kBlackCColor;
  CColor frameColor = kBlackCColor;
  CColor shadowColor = kRedCColor;
  bool textTransparent = true;
};
