#include "graph/MixerAudioNode.h"

#include "processors/Float4.h"

MixerAudioNode::MixerAudioNode() : AudioNode(kMixer) {}

void MixerAudioNode::processBlock(const BufferBank& bank, VstInt32 sampleFrames) {
  const float gain1 = getParam(0, 1.0f);
  const float gain2 = getParam(1, 1.0f);
  const float* in1 = bank.channel(input->outBuf);
  const float* in2 = bank.channel(input2->outBuf);
  float* out = bank.channel(outBuf);
  forEachSample(sampleFrames, [&]<typename Samples>(VstInt32 i) {
    storeSamples(out + i, splat<Samples>(gain1) * loadSamples<Samples>(in1 + i) +
                              splat<Samples>(gain2) * loadSamples<Samples>(in2 + i));
  });
}
