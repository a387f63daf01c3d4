// A vertical slider.
#pragma once

#include "gui/CSlider.h"

// A CSlider with the vertical style; by default value 0 lies at the bottom.
class CVerticalSlider : public CSlider {
 public:
  CVerticalSlider(const CRect& size, CControlListener* listener, std::int32_t tag, std::int32_t minPosition,
                  std::int32_t maxPosition, CBitmap* handle, CBitmap* background, CPoint backgroundOffset,
                  std::int32_t style = kBottom)
      : CSlider(size, listener, tag, minPosition, maxPosition, handle, background, backgroundOffset,
                style | kVertical) {}
};
