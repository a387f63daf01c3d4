#include "graph/GraphTiming.h"

#include <tinyxml.h>

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>

namespace {

bool onlySpaceFrom(const char* text) {
  while (std::isspace(static_cast<unsigned char>(*text))) ++text;
  return *text == '\0';
}

// The whole text as a decimal integer, or nothing when anything else is in it.
std::optional<long> wholeInteger(const char* text) {
  const char* start = text;
  while (std::isspace(static_cast<unsigned char>(*start))) ++start;
  if (!std::isdigit(static_cast<unsigned char>(*start))) return std::nullopt;
  errno = 0;
  char* end = nullptr;
  const long value = std::strtol(start, &end, 10);
  if (errno == ERANGE || !onlySpaceFrom(end)) return std::nullopt;
  return value;
}

// The whole text as a decimal number, or nothing when anything else is in it.
std::optional<double> wholeNumber(const char* text) {
  char* end = nullptr;
  const double value = std::strtod(text, &end);
  if (end == text || !onlySpaceFrom(end) || !std::isfinite(value)) return std::nullopt;
  return value;
}

bool isFactor(long value) {
  return value >= 1 && value <= GraphTiming::kMaxOversampling && (value & (value - 1)) == 0;
}

std::string quoted(const char* text) { return std::string("\"") + text + "\""; }

// A refusal keeps the default timing.
GraphTimingReading refused(std::string reason) { return {GraphTiming{}, std::move(reason)}; }

std::string wholeText(float value) { return std::to_string(static_cast<long>(value)); }

}  // namespace

GraphTimingReading readGraphTiming(const TiXmlElement& root) {
  GraphTimingReading reading;
  if (const char* text = root.Attribute("oversampling")) {
    const std::optional<long> factor = wholeInteger(text);
    if (!factor || !isFactor(*factor)) {
      return refused("the oversampling " + quoted(text) + " is not one of 1, 2, 4, 8 and 16");
    }
    reading.timing.oversampling = static_cast<int>(*factor);
  }
  if (const char* text = root.Attribute("rate")) {
    const std::optional<double> rate = wholeNumber(text);
    if (!rate || *rate < GraphTiming::kMinReferenceRate || *rate > GraphTiming::kMaxReferenceRate) {
      return refused("the rate " + quoted(text) + " is not a sample rate in Hz from " +
                     wholeText(GraphTiming::kMinReferenceRate) + " to " +
                     wholeText(GraphTiming::kMaxReferenceRate));
    }
    reading.timing.referenceRate = static_cast<float>(*rate);
  }
  return reading;
}
