// How fast a description's graph runs: the root's "oversampling" and "rate" attributes.
#pragma once

#include <string>

class TiXmlElement;

struct GraphTiming {
  // The factors a graph may run at, a multiple of the host's rate.
  static constexpr int kMaxOversampling = 16;
  // The rates a description may name: anything a host runs at, with room on both sides.
  static constexpr float kMinReferenceRate = 1000.0f;
  static constexpr float kMaxReferenceRate = 1.0e6f;

  // The graph runs at oversampling times the host's rate (1, 2, 4, 8 or 16).
  int oversampling = 1;
  // The sample rate in Hz the description's sample counts and equalisers were written for;
  // 0 when it names none.
  float referenceRate = 0.0f;

  bool declaresRate() const { return referenceRate > 0.0f; }
  bool operator==(const GraphTiming&) const = default;
};

// What readGraphTiming made of a root: the timing, or why its attributes cannot be used.
struct GraphTimingReading {
  GraphTiming timing;
  // Empty when both attributes were absent or valid; otherwise names the attribute.
  std::string refusal;
};

// Reads "oversampling" (absent: 1; else exactly one of 1, 2, 4, 8, 16 in decimal digits,
// white space around it allowed) and "rate" (absent: none; else a finite decimal number of
// Hz from kMinReferenceRate to kMaxReferenceRate) from root. A refusal comes with the
// default timing.
GraphTimingReading readGraphTiming(const TiXmlElement& root);
