// The block loop of an offline render.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "render/ChannelEffects.h"
#include "render/TailRule.h"

// Where a render takes its input and puts its output, as interleaved frames.
struct RenderStreams {
  // Fills up to count frames; returns the frames given, 0 at the end.
  std::function<std::int64_t(float* interleaved, std::int64_t count)> read;
  std::function<void(const float* interleaved, std::int64_t frames)> write;
  // Told the frames processed so far after every block; may be empty.
  std::function<void(std::int64_t framesProcessed)> progress;
};

struct RenderedLength {
  std::int64_t frames = 0;
  std::int64_t tailFrames = 0;
  // False when the tail reached its longest length before the output
  // decayed, and was faded out.
  bool decayed = true;
};

// Runs every frame the input gives through the effects, block by block, then
// their tail on silence as the rule says. Throws RenderError when the user
// interrupts the run.
RenderedLength renderThrough(ChannelEffects& effects, RenderStreams& streams, const TailRule& tail);

// renderThrough over samples in memory: interleaved input in, interleaved
// output (input and tail) out.
std::vector<float> renderSamples(ChannelEffects& effects, const std::vector<float>& interleaved,
                                 const TailRule& tail);
