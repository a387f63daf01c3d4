// A colour: red, green, blue and a fourth byte. Drawing uses only red, green
// and blue; the fourth byte tells the transparent colour key from white.
#pragma once

#include <cstdint>

struct CColor {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  std::uint8_t alpha = 255;

  bool sameRgb(const CColor& other) const {
    return red == other.red && green == other.green && blue == other.blue;
  }
  bool operator==(const CColor&) const = default;
};

inline constexpr CColor kWhiteCColor{255, 255, 255, 255};
inline constexpr CColor kBlackCColor{0, 0, 0, 255};
inline constexpr CColor kRedCColor{255, 0, 0, 255};
inline constexpr CColor kTransparentCColor{255, 255, 255, 0};
