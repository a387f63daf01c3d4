#include "gui/PopupMenuLayout.h"

#include <algorithm>

#include "gui/CDrawContext.h"

namespace {

constexpr std::int32_t itemHeight = 20;
constexpr std::int32_t separatorHeight = 7;
constexpr std::int32_t border = 2;
constexpr std::int32_t textIndent = 12;
constexpr std::int32_t minimumWidth = 120;
constexpr std::int32_t emptyHeight = 8;
constexpr CFontId popupFont = kNormalFontBig;

constexpr CColor backgroundColor{236, 238, 238, 255};
constexpr CColor borderColor{80, 88, 88, 255};
constexpr CColor highlightColor{93, 108, 107, 255};
constexpr CColor disabledColor{150, 156, 156, 255};

}  // namespace

PopupMenuLayout::PopupMenuLayout(const PopupMenuRequest& request, CDrawContext& measuring)
    : request(request) {
  measuring.setFont(popupFont);
  std::int32_t widest = 0;
  std::int32_t y = border;
  for (const PopupMenuItem& item : request.items) {
    std::int32_t rowHeight = item.separator ? separatorHeight : itemHeight;
    rows.push_back({border, y, 0, y + rowHeight});
    y += rowHeight;
    if (!item.separator) widest = std::max(widest, measuring.getStringWidth(item.text.c_str()));
  }
  width = std::max(minimumWidth, widest + 2 * textIndent + 2 * border);
  height = request.items.empty() ? emptyHeight : y + border;
  for (CRect& row : rows) row.right = width - border;
}

std::int32_t PopupMenuLayout::itemAt(const CPoint& point) const {
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const CRect& row = rows[i];
    if (point.x >= row.left && point.x < row.right && point.y >= row.top && point.y < row.bottom)
      return static_cast<std::int32_t>(i);
  }
  return -1;
}

bool PopupMenuLayout::isChoosable(std::int32_t index) const {
  if (index < 0 || index >= static_cast<std::int32_t>(request.items.size())) return false;
  const PopupMenuItem& item = request.items[static_cast<std::size_t>(index)];
  return !item.separator && item.enabled;
}

std::int32_t PopupMenuLayout::nextChoosable(std::int32_t index, std::int32_t direction) const {
  auto count = static_cast<std::int32_t>(request.items.size());
  for (std::int32_t step = 1; step <= count; ++step) {
    std::int32_t candidate = ((index + direction * step) % count + count) % count;
    if (isChoosable(candidate)) return candidate;
  }
  return -1;
}

void PopupMenuLayout::draw(CDrawContext& context, std::int32_t highlighted) const {
  context.setFillColor(backgroundColor);
  context.fillRect(bounds());
  context.setFrameColor(borderColor);
  context.moveTo({0, 0});
  context.lineTo({width - 1, 0});
  context.lineTo({width - 1, height - 1});
  context.lineTo({0, height - 1});
  context.lineTo({0, 0});
  context.setFont(popupFont);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const PopupMenuItem& item = request.items[i];
    const CRect& row = rows[i];
    if (item.separator) {
      context.moveTo({row.left + 4, row.top + separatorHeight / 2});
      context.lineTo({row.right - 4, row.top + separatorHeight / 2});
      continue;
    }
    bool lit = static_cast<std::int32_t>(i) == highlighted && isChoosable(highlighted);
    if (lit) {
      context.setFillColor(highlightColor);
      context.fillRect(row);
    }
    context.setFontColor(lit ? kWhiteCColor : item.enabled ? kBlackCColor : disabledColor);
    CRect textArea{row.left + textIndent, row.top, row.right - textIndent, row.bottom};
    context.drawString(item.text.c_str(), textArea, kLeftText);
  }
}
