// The counts of samples in a built description: averager windows, limiter windows and delay
// lengths, which last another time at another rate unless the description names its rate.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "frame/VstInterface.h"
#include "pack/DescriptionCheck.h"

struct SampleCount {
  const AudioNode* node = nullptr;
  // "averager's window of 2048 samples", "clipper's limiter window of 1 ms (at most 100
  // samples)", "delay line of 110 ms (at most 40000 samples)", "averager's window that follows
  // another node".
  std::string what;
  // The count for a description run at the given rate as its reference (or, raw, as the host's
  // rate); empty for a window that follows another node, known only as the graph runs.
  std::function<VstInt32(float rate)> countAt;
  // The count reaches a limit of samples at 192 kHz where the time it sets would be longer.
  bool limitedAtHighRates = false;
};

// Every count of samples of built's nodes, in the order the description declares them.
std::vector<SampleCount> sampleCountsOf(const BuiltDescription& built);
