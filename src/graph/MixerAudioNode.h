// The mixer: a weighted sum of two audio inputs.
#pragma once

#include "graph/AudioNode.h"

// Parameter 0 is the gain of input, parameter 1 the gain of input2; both default to 1, so
// a mixer without bindings adds its inputs. getValue is 0 for every value.
class MixerAudioNode final : public AudioNode {
 public:
  MixerAudioNode();

  // audio: out = gain0 * in1 + gain1 * in2, the gains read once before the first sample.
  void processBlock(const BufferBank& bank, VstInt32 sampleFrames) override;

  // Not owned: the second audio input.
  AudioNode* input2 = nullptr;
};
