#include "graph/AudioNodeFX.h"

#include <algorithm>

AudioNodeFX::AudioNodeFX() : AudioNode(kEffect) {}

void AudioNodeFX::processBlock(const BufferBank& bank, VstInt32 sampleFrames) {
  if (effect) {
    effect->processReplacing(bank.entries[inputEntry()], bank.entries[outBuf], sampleFrames);
    return;
  }
  float* out = bank.channel(outBuf);
  std::fill(out, out + std::max(sampleFrames, 0), 0.0f);
}

float AudioNodeFX::getValue(VstInt32 which) { return effect ? effect->getParameter(which) : 0.0f; }
