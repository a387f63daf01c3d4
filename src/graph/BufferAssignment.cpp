#include "graph/BufferAssignment.h"

#include "frame/TraceLog.h"
#include "graph/MixerAudioNode.h"

namespace {

// Gives input the first free index when it has no buffer yet; false when none is free.
bool takeBufferFor(AudioNode* input, std::deque<VstInt32>& freeBuffers) {
  if (!input || input->outBuf != 0) return true;
  if (freeBuffers.empty()) return false;
  input->outBuf = freeBuffers.front();
  freeBuffers.pop_front();
  return true;
}

AudioNode* secondInputOf(const AudioNode& node) {
  return node.kind == AudioNode::kMixer ? static_cast<const MixerAudioNode&>(node).input2 : nullptr;
}

}  // namespace

BufferAssignment assignBuffers(const std::vector<AudioNode*>& chain) {
  BufferAssignment result;
  for (VstInt32 entry = BufferBank::kFirstPoolEntry; entry < BufferBank::kEntryCount; ++entry) {
    result.freeBuffers.push_back(entry);
  }
  for (std::size_t position = chain.size(); position-- > 1;) {
    AudioNode& node = *chain[position];
    if (!takeBufferFor(node.input, result.freeBuffers) ||
        !takeBufferFor(secondInputOf(node), result.freeBuffers)) {
      result.outcome = BufferAssignment::kPoolExhausted;
      result.node = &node;
      return result;
    }
    if (node.outBuf == 0) {
      result.outcome = BufferAssignment::kNoAudioConsumer;
      result.node = &node;
      return result;
    }
    if (node.outBuf != AudioNode::kNoBuffer && node.outBuf != BufferBank::kGraphOutput) {
      result.freeBuffers.push_back(node.outBuf);
    }
    traceLog("node %s, in:%s outbuf:%d\n", node.name.c_str(), node.input ? node.input->name.c_str() : ".",
             node.outBuf);
  }
  return result;
}
