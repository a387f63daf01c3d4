// A point in pixels.
#pragma once

#include <cstdint>

struct CPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;

  CPoint offsetBy(std::int32_t dx, std::int32_t dy) const { return {x + dx, y + dy}; }
  bool operator==(const CPoint&) const = default;
};
