#include "graph/MixerAudioNode.h"

MixerAudioNode::MixerAudioNode() : AudioNode(kMixer) {}

void MixerAudioNode::processBlock(const BufferBank& bank, VstInt32 sampleFrames) {
  const float gain1 = getParam(0, 1.0f);
  const float gain2 = getParam(1, 1.0f);
  const float* in1 = bank.channel(input->outBuf);
  const float* in2 = bank.channel(input2->outBuf);
  float* out = bank.channel(outBuf);
  for (VstInt32 i = 0; i < sampleFrames; ++i) out[i] = gain1 * in1[i] + gain2 * in2[i];
}
