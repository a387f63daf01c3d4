#include "frame/TextConversion.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

constexpr int kMaxCharacters = 8;
constexpr char kHuge[] = "Huge!";

// Writes the integer part of magnitude, right to left, ending at end;
// returns the first character written and counts the characters in used.
char* writeIntegerPart(double magnitude, bool negative, char* end, int& used) {
  double integral = std::floor(magnitude);
  char* cursor = end;
  do {
    *--cursor = static_cast<char>('0' + static_cast<int>(std::fmod(integral, 10.0)));
    integral = std::floor(integral / 10.0);
    ++used;
  } while (integral >= 1.0 && used < kMaxCharacters);
  if (negative) {
    *--cursor = '-';
    ++used;
  }
  return cursor;
}

// Writes count fraction digits of mantissa, right to left, ending at end.
void writeFractionDigits(double mantissa, int count, char* end) {
  for (char* cursor = end; count > 0; --count) {
    const int digit = mantissa > 0.0 ? static_cast<int>(std::fmod(mantissa, 10.0)) : 0;
    *--cursor = static_cast<char>('0' + digit);
    mantissa = std::floor(mantissa / 10.0);
  }
}

}  // namespace

void copyLimited(char* text, const char* source, VstInt32 maxLen) {
  const std::size_t limit = maxLen > 0 ? static_cast<std::size_t>(maxLen) : 0;
  std::size_t length = std::strlen(source);
  if (length > limit) length = limit;
  std::memcpy(text, source, length);
  text[length] = '\0';
}

void formatFloat(float value, char* text, VstInt32 maxLen) {
  const double wide = value;  // 99999999 has no float32 of its own
  if (wide < -9999999.0 || wide > 99999999.0) {
    copyLimited(text, kHuge, maxLen);
    return;
  }
  const bool negative = value < 0.0f;
  const double magnitude = std::fabs(wide);

  char work[32];
  char* const end = work + 16;
  int used = 0;
  char* start = writeIntegerPart(magnitude, negative, end, used);
  end[0] = '.';
  ++used;
  char* fractionEnd = end + 1;
  if (used < kMaxCharacters) {
    const int digits = kMaxCharacters - used;
    const double fraction = magnitude - std::floor(magnitude);
    fractionEnd += digits;
    writeFractionDigits(fraction * std::pow(10.0, digits), digits, fractionEnd);
  }
  *fractionEnd = '\0';
  copyLimited(text, start, maxLen);
}

void formatInt(VstInt32 value, char* text, VstInt32 maxLen) {
  const std::int64_t wide = value;
  if (wide >= 100000000 || wide <= -100000000) {
    copyLimited(text, kHuge, maxLen);
    return;
  }
  char work[16];
  char* cursor = work;
  std::int64_t magnitude = wide;
  if (magnitude < 0) {
    *cursor++ = '-';
    magnitude = -magnitude;
  }
  bool started = false;
  for (std::int64_t divisor = 100000000; divisor >= 1; divisor /= 10) {
    const int digit = static_cast<int>(magnitude / divisor);
    magnitude %= divisor;
    if (digit != 0 || started) {
      *cursor++ = static_cast<char>('0' + digit);
      started = true;
    }
  }
  *cursor = '\0';
  copyLimited(text, work, maxLen);
}
