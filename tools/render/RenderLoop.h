// The block loop of an offline render.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "render/ChannelEffects.h"

// Where a render takes its input and puts its output, as interleaved frames.
struct RenderStreams {
  // Fills up to count frames; returns the frames given, 0 at the end.
  std::function<std::int64_t(float* interleaved, std::int64_t count)> read;
  std::function<void(const float* interleaved, std::int64_t frames)> write;
  // Told the frames written so far after every block; may be empty.
  std::function<void(std::int64_t framesWritten)> progress;
};

// Runs every frame the input gives through the effects, block by block, then
// their tail on silence. Returns the frames written. Throws RenderError when
// the user interrupts the run.
std::int64_t renderThrough(ChannelEffects& effects, RenderStreams& streams);

// renderThrough over samples in memory: interleaved input in, interleaved
// output (input and tail) out.
std::vector<float> renderSamples(ChannelEffects& effects, const std::vector<float>& interleaved);
