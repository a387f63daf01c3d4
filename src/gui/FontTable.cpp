#include "gui/FontTable.h"

namespace {

constexpr FontDescription fonts[kNumStandardFonts] = {
    {"Arial", 12, true, false},  {"Arial", 18, false, false}, {"Arial", 14, false, false},
    {"Arial", 12, false, false}, {"Arial", 11, false, false}, {"Arial", 10, false, false},
    {"Arial", 9, false, false},  {"Symbol", 13, false, true},
};

}  // namespace

const FontDescription& fontDescription(std::int32_t fontId) {
  if (fontId < 0 || fontId >= kNumStandardFonts) fontId = kSystemFont;
  return fonts[fontId];
}
