#include "graph/DescriptionText.h"

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace {

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool equalsIgnoringCase(const char* text, const char* other) {
  for (; *text && *other; ++text, ++other) {
    if (lowerAscii(*text) != lowerAscii(*other)) return false;
  }
  return *text == *other;
}

VstInt32 readInteger(const char* text) {
  const long long value = std::strtoll(text, nullptr, 10);
  if (value < std::numeric_limits<VstInt32>::min()) return std::numeric_limits<VstInt32>::min();
  if (value > std::numeric_limits<VstInt32>::max()) return std::numeric_limits<VstInt32>::max();
  return static_cast<VstInt32>(value);
}

float readFloat(const char* text) {
  const double value = std::strtod(text, nullptr);
  if (std::fabs(value) > FLT_MAX) return static_cast<float>(std::copysign(INFINITY, value));
  return static_cast<float>(value);
}

std::string numberText(float value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
  return text;
}
