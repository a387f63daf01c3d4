// A rectangle in pixels. Every edge belongs to the rectangle when testing
// points and overlaps; drawing fills from left, top up to right, bottom
// exclusive.
#pragma once

#include <algorithm>
#include <cstdint>

#include "gui/CPoint.h"

struct CRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;

  std::int32_t width() const { return right - left; }
  std::int32_t height() const { return bottom - top; }
  CPoint topLeft() const { return {left, top}; }

  // left <= x <= right and top <= y <= bottom.
  bool pointInside(const CPoint& point) const {
    return left <= point.x && point.x <= right && top <= point.y && point.y <= bottom;
  }
  // True when the two rectangles share at least one point, edges included.
  bool touches(const CRect& other) const {
    return left <= other.right && other.left <= right && top <= other.bottom && other.top <= bottom;
  }
  CRect offsetBy(std::int32_t dx, std::int32_t dy) const {
    return {left + dx, top + dy, right + dx, bottom + dy};
  }
  // The common part of both rectangles; empty (zero width or height) when
  // they do not overlap.
  CRect intersection(const CRect& other) const {
    CRect common{std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
                 std::min(bottom, other.bottom)};
    if (common.right < common.left) common.right = common.left;
    if (common.bottom < common.top) common.bottom = common.top;
    return common;
  }
  bool operator==(const CRect&) const = default;
};
