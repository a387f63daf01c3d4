#include "render/NonFiniteSamples.h"

#include <cmath>
#include <cstdio>

void NonFiniteSamples::add(const float* interleaved, std::int64_t frames) {
  for (std::int64_t i = 0; i < frames * channels; ++i) {
    if (std::isfinite(interleaved[i])) continue;
    if (found++ == 0) {
      firstFrame = framesSeen + i / channels;
      firstChannel = static_cast<int>(i % channels) + 1;
    }
  }
  framesSeen += frames;
}

std::string NonFiniteSamples::description(double sampleRate) const {
  char text[160];
  std::snprintf(
      text, sizeof text, "%lld %s not finite (NaN or infinite), the first at %.3f s (frame %lld, channel %d)",
      static_cast<long long>(found), found == 1 ? "sample that is" : "samples that are",
      static_cast<double>(firstFrame) / sampleRate, static_cast<long long>(firstFrame), firstChannel);
  return text;
}
