#include "render/RenderLoop.h"

#include <algorithm>
#include <cstring>

#include "render/HeldOutput.h"
#include "render/Interruption.h"
#include "render/RenderError.h"

namespace {

void checkInterruption() {
  if (interruptionRequested()) throw RenderError("interrupted");
}

bool tailGoesOn(const HeldOutput& output, std::int64_t longestEnd) {
  const std::int64_t added = output.framesAdded();
  return added < longestEnd && !(added >= output.earliestEnd() && output.decayed());
}

}  // namespace

RenderedLength renderThrough(ChannelEffects& effects, RenderStreams& streams, const TailRule& tail) {
  const std::size_t blockSamples = static_cast<std::size_t>(effects.blockSize()) * effects.channels();
  std::vector<float> input(blockSamples);
  std::vector<float> output(blockSamples);
  HeldOutput held(effects.channels(), tail, streams.write);
  const auto emit = [&](const float* block, int frames) {
    effects.process(block, output.data(), frames);
    held.add(output.data(), frames);
    if (streams.progress) streams.progress(held.framesAdded());
    checkInterruption();
  };
  while (const std::int64_t frames = streams.read(input.data(), effects.blockSize())) {
    emit(input.data(), static_cast<int>(frames));
  }
  const std::int64_t inputFrames = held.framesAdded();
  held.markInputEnd();
  const std::int64_t longestEnd = inputFrames + tail.longest;
  while (tailGoesOn(held, longestEnd)) {
    emit(nullptr,
         static_cast<int>(std::min<std::int64_t>(longestEnd - held.framesAdded(), effects.blockSize())));
  }
  RenderedLength length;
  length.decayed = held.decayed();
  length.frames = held.finish();
  length.tailFrames = length.frames - inputFrames;
  return length;
}

std::vector<float> renderSamples(ChannelEffects& effects, const std::vector<float>& interleaved,
                                 const TailRule& tail) {
  const auto channels = static_cast<std::size_t>(effects.channels());
  const std::int64_t totalFrames = static_cast<std::int64_t>(interleaved.size() / channels);
  std::int64_t position = 0;
  std::vector<float> rendered;
  RenderStreams streams{[&](float* block, std::int64_t count) {
                          const std::int64_t frames = std::min(count, totalFrames - position);
                          std::memcpy(block, interleaved.data() + position * channels,
                                      sizeof(float) * frames * channels);
                          position += frames;
                          return frames;
                        },
                        [&](const float* block, std::int64_t frames) {
                          rendered.insert(rendered.end(), block, block + frames * channels);
                        },
                        {}};
  renderThrough(effects, streams, tail);
  return rendered;
}
