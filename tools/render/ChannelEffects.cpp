#include "render/ChannelEffects.h"

ChannelEffects::ChannelEffects(std::vector<std::unique_ptr<HostedEffect>> effects, int blockSize)
    : maximumFrames(blockSize) {
  for (std::unique_ptr<HostedEffect>& effect : effects)
    lanes.push_back(makeLane(std::move(effect), blockSize));
}

ChannelEffects::~ChannelEffects() {
  for (Lane& lane : lanes) lane.effect->setMains(false);
}

ChannelEffects::Lane ChannelEffects::makeLane(std::unique_ptr<HostedEffect> effect, int blockSize) {
  Lane lane;
  const AEffect* record = effect->record();
  lane.inputs.assign(static_cast<std::size_t>(record->numInputs), std::vector<float>(blockSize, 0.0f));
  lane.outputs.assign(static_cast<std::size_t>(record->numOutputs), std::vector<float>(blockSize, 0.0f));
  for (std::vector<float>& input : lane.inputs) lane.inputPointers.push_back(input.data());
  for (std::vector<float>& output : lane.outputs) lane.outputPointers.push_back(output.data());
  lane.effect = std::move(effect);
  return lane;
}

// By convention 0 means unknown and 1 means no tail.
std::int64_t ChannelEffects::reportedTail() const {
  const VstInt32 reported = lanes.empty() ? 0 : lanes.front().effect->tailSize();
  return reported > 1 ? reported : 0;
}

void ChannelEffects::process(const float* interleavedInput, float* interleavedOutput, int frames) {
  const std::size_t stride = lanes.size();
  for (std::size_t channel = 0; channel < stride; ++channel) {
    Lane& lane = lanes[channel];
    float* input = lane.inputs.front().data();
    for (int i = 0; i < frames; ++i)
      input[i] = interleavedInput ? interleavedInput[i * stride + channel] : 0.0f;
    lane.effect->processReplacing(lane.inputPointers.data(), lane.outputPointers.data(), frames);
    const float* output = lane.outputs.front().data();
    for (int i = 0; i < frames; ++i) interleavedOutput[i * stride + channel] = output[i];
  }
}
