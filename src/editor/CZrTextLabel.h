// The editor's own text label: a box with a text that can be hidden.
#pragma once

#include <string>

#include "gui/CParamDisplay.h"

// While hidden it draws five spaces instead of its text, so the box stays
// and the digits vanish. The editor writes text and shown directly and marks
// the label dirty itself. GUI thread only.
class CZrTextLabel : public CParamDisplay {
 public:
  explicit CZrTextLabel(const CRect& size) : CParamDisplay(size) {}

  void draw(CDrawContext* context) override;

  bool shown = true;
  std::string text;
};
