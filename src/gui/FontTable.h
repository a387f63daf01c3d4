// The toolkit's fixed fonts, by font id.
#pragma once

#include <cstdint>

enum CFontId : std::int32_t {
  kSystemFont = 0,
  kNormalFontVeryBig,
  kNormalFontBig,
  kNormalFont,
  kNormalFontSmall,
  kNormalFontSmaller,
  kNormalFontVerySmall,
  kSymbolFont,
  kNumStandardFonts
};

// Text face bits, combined with a font's own weight.
enum CTxtFace : std::int32_t { kNormalFace = 0, kBoldFace = 1, kItalicFace = 2, kUnderlineFace = 4 };

struct FontDescription {
  const char* face;
  std::int32_t size;  // character height in pixels
  bool alwaysBold;
  bool decorative;  // symbol font rather than the Swiss family
};

// The font of an id; an id outside 0 to 7 gives font 0.
const FontDescription& fontDescription(std::int32_t fontId);
