#include "render/RenderLoop.h"

#include <algorithm>
#include <cstring>

#include "render/Interruption.h"
#include "render/RenderError.h"

namespace {

void checkInterruption() {
  if (interruptionRequested()) throw RenderError("interrupted");
}

}  // namespace

std::int64_t renderThrough(ChannelEffects& effects, RenderStreams& streams) {
  const std::size_t blockSamples = static_cast<std::size_t>(effects.blockSize()) * effects.channels();
  std::vector<float> input(blockSamples);
  std::vector<float> output(blockSamples);
  std::int64_t written = 0;
  const auto emit = [&](const float* block, int frames) {
    effects.process(block, output.data(), frames);
    streams.write(output.data(), frames);
    written += frames;
    if (streams.progress) streams.progress(written);
    checkInterruption();
  };
  while (const std::int64_t frames = streams.read(input.data(), effects.blockSize())) {
    emit(input.data(), static_cast<int>(frames));
  }
  for (std::int64_t tail = effects.tailFrames(); tail > 0;) {
    const int frames = static_cast<int>(std::min<std::int64_t>(tail, effects.blockSize()));
    emit(nullptr, frames);
    tail -= frames;
  }
  return written;
}

std::vector<float> renderSamples(ChannelEffects& effects, const std::vector<float>& interleaved) {
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
  renderThrough(effects, streams);
  return rendered;
}
