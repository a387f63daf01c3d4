// The layout and look of an option menu's popup, for backends that draw the
// popup themselves.
#pragma once

#include <cstdint>
#include <vector>

#include "gui/CRect.h"
#include "gui/PopupMenuRequest.h"

class CDrawContext;

// One row per item in the popup's own coordinates; separators are thin rows.
class PopupMenuLayout {
 public:
  // Measures the item texts with the context's fonts.
  PopupMenuLayout(const PopupMenuRequest& request, CDrawContext& measuring);

  CRect bounds() const { return {0, 0, width, height}; }
  // The item under the point, or -1 when there is none.
  std::int32_t itemAt(const CPoint& point) const;
  bool isChoosable(std::int32_t index) const;
  // The next choosable item after index in the direction (+1 or -1),
  // wrapping; -1 when no item can be chosen.
  std::int32_t nextChoosable(std::int32_t index, std::int32_t direction) const;
  // Draws the whole popup with the item highlighted (or none for -1).
  void draw(CDrawContext& context, std::int32_t highlighted) const;

 private:
  const PopupMenuRequest& request;
  std::vector<CRect> rows;
  std::int32_t width = 0;
  std::int32_t height = 0;
};
