// Mouse-button and modifier bits, as the toolkit reads them at the moment of
// asking.
#pragma once

#include <cstdint>

enum CButtonState : std::int32_t {
  kLButton = 1,  // primary button (the physical right one when swapped)
  kMButton = 2,
  kRButton = 4,  // secondary button
  kShift = 8,
  kControl = 16,
  kAlt = 32,
};

inline constexpr std::int32_t kModifierButtons = kShift | kControl | kAlt;
