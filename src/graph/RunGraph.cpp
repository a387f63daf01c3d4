#include "graph/RunGraph.h"

namespace {

void runEffect(AudioNode& node, const BufferBank& bank, VstInt32 sampleFrames) {
  if (!node.effect) return;
  const VstInt32 inputEntry = node.input ? node.input->outBuf : BufferBank::kGraphInput;
  node.effect->processReplacing(bank.entries[inputEntry], bank.entries[node.outBuf], sampleFrames);
}

}  // namespace

void runGraph(AudioNode& head, const BufferBank& bank, VstInt32 sampleFrames) {
  for (AudioNode* node = head.next.get(); node; node = node->next.get()) {
    if (node->kind == AudioNode::kEffect) {
      runEffect(*node, bank, sampleFrames);
    } else {
      node->processBlock(bank, sampleFrames);
    }
  }
}

void clearGraphState(AudioNode& head) {
  for (AudioNode* node = head.next.get(); node; node = node->next.get()) node->clearState();
}
