// One effect instance per channel of a multi-channel signal.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "host/HostedEffect.h"

// Processes interleaved audio with one mono effect instance per channel, so
// stereo runs as dual mono. Each instance gets its channel on its first
// input, silence on any further input, and gives its first output.
class ChannelEffects {
 public:
  // The effects are started and configured for blockSize.
  ChannelEffects(std::vector<std::unique_ptr<HostedEffect>> effects, int blockSize);
  // Switches the effects off before they are closed, as hosts do.
  ~ChannelEffects();
  ChannelEffects(ChannelEffects&&) = default;
  ChannelEffects& operator=(ChannelEffects&&) = delete;

  int channels() const { return static_cast<int>(lanes.size()); }
  int blockSize() const { return maximumFrames; }
  // The frames of sound the effects say they give after their input ends.
  std::int64_t reportedTail() const;

  // Processes frames (at most blockSize) of interleaved input into
  // interleaved output; a null input means silence.
  void process(const float* interleavedInput, float* interleavedOutput, int frames);

 private:
  struct Lane {
    std::unique_ptr<HostedEffect> effect;
    std::vector<std::vector<float>> inputs;
    std::vector<std::vector<float>> outputs;
    std::vector<float*> inputPointers;
    std::vector<float*> outputPointers;
  };

  static Lane makeLane(std::unique_ptr<HostedEffect> effect, int blockSize);

  std::vector<Lane> lanes;
  int maximumFrames;
};
