// The last samples of a stream, for a graph that must take the stream over mid-way.
#pragma once

#include <array>

#include "frame/VstInterface.h"

// A ring of the last kCapacity samples appended; silence before anything was. Embedded, so
// nothing is allocated; real-time throughout.
class RecentSamples {
 public:
  static constexpr VstInt32 kCapacity = 512;

  // Appends frames samples; of a longer run only the last kCapacity are kept.
  void append(const float* samples, VstInt32 frames);
  // Back to silence.
  void clear();
  // Whether every kept sample is 0.
  bool silent() const;
  // Calls visit(samples, count) on the kept samples, oldest first, in at most two runs.
  template <typename Visit>
  void visit(Visit&& visit) const {
    visit(ring.data() + next, kCapacity - next);
    visit(ring.data(), next);
  }

 private:
  std::array<float, kCapacity> ring{};
  // Where the next sample goes: the oldest kept one.
  VstInt32 next = 0;
};
