#include "graph/InputAudioNode.h"

InputAudioNode::InputAudioNode() {
  outBuf = BufferBank::kGraphInput;
  ordered = true;
}

void InputAudioNode::processBlock(const BufferBank& /*bank*/, VstInt32 /*sampleFrames*/) {}

void InputAudioNode::keepUnplaced(std::unique_ptr<AudioNode> node) { unplaced.push_back(std::move(node)); }
