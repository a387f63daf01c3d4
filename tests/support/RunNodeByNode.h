// A graph's block run node by node: the plain form that a run plan must match bit for bit.
#pragma once

#include <algorithm>

#include "graph/AudioNode.h"
#include "graph/BufferBank.h"

// Every node after head on its own, in chain order: an fx node runs its effect's
// processReplacing from its input's buffer into its own, or writes silence there when it has
// no effect; every other node runs its processBlock.
inline void runNodeByNode(AudioNode& head, const BufferBank& bank, VstInt32 sampleFrames) {
  for (AudioNode* node = head.next.get(); node; node = node->next.get()) {
    if (node->kind != AudioNode::kEffect) {
      node->processBlock(bank, sampleFrames);
    } else if (node->effect) {
      const VstInt32 input = node->input ? node->input->outBuf : BufferBank::kGraphInput;
      node->effect->processReplacing(bank.entries[input], bank.entries[node->outBuf], sampleFrames);
    } else {
      std::fill(bank.channel(node->outBuf), bank.channel(node->outBuf) + sampleFrames, 0.0f);
    }
  }
}
