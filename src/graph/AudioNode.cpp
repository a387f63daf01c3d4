#include "graph/AudioNode.h"

AudioNode::AudioNode(Kind kind) : kind(kind) {}

AudioNode::~AudioNode() {
  std::unique_ptr<AudioNode> rest = std::move(next);
  // Each assignment detaches the following node before the current one is deleted.
  while (rest) rest = std::move(rest->next);
}

void AudioNode::processBlock(const BufferBank& /*bank*/, VstInt32 /*sampleFrames*/) {}

float AudioNode::getParam(VstInt32 index, float fallback) {
  const ParamBinding* binding = bindingFor(index);
  if (!binding) return fallback;
  return binding->source ? binding->source->getValue(binding->get) : binding->value;
}

float AudioNode::getValue(VstInt32 /*which*/) { return 0.0f; }

void AudioNode::clearState() {
  if (effect) effect->clearSignalState();
}

const ParamBinding* AudioNode::bindingFor(VstInt32 index) const {
  for (const ParamBinding& binding : params) {
    if (binding.set == index) return &binding;
  }
  return nullptr;
}

VstIntPtr AudioNode::dispatchToEffect(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                      float opt) {
  if (effect) effect->dispatcher(opcode, index, value, ptr, opt);
  if (opcode == effSetSampleRate || opcode == effSetBlockSizeAndSampleRate) sampleRateChanged(opt);
  return 0;
}

void AudioNode::sampleRateChanged(float /*rate*/) {}
