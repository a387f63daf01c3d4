// Finding samples that are not numbers.
#pragma once

#include <cstdint>
#include <string>

// Counts the NaN and infinite samples of an interleaved signal and keeps
// where the first one was.
class NonFiniteSamples {
 public:
  explicit NonFiniteSamples(int channels) : channels(channels) {}

  void add(const float* interleaved, std::int64_t frames);

  std::int64_t count() const { return found; }
  // "10 samples that are not finite (NaN or infinite), the first at 3.810 s
  // (frame 168000, channel 1)"; channels count from 1.
  std::string description(double sampleRate) const;

 private:
  int channels;
  std::int64_t framesSeen = 0;
  std::int64_t found = 0;
  std::int64_t firstFrame = -1;
  int firstChannel = 0;
};
