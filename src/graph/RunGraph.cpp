#include "graph/RunGraph.h"

#include "processors/ZrIIRFilter.h"

namespace {

// Stages of one series run at once; a longer run of equalisers is split.
constexpr int kMaxSeries = 16;

void runEffect(AudioNode& node, const BufferBank& bank, VstInt32 sampleFrames) {
  if (!node.effect) return;
  const VstInt32 inputEntry = node.input ? node.input->outBuf : BufferBank::kGraphInput;
  node.effect->processReplacing(bank.entries[inputEntry], bank.entries[node.outBuf], sampleFrames);
}

IIRCascade* equaliserOf(AudioNode& node) {
  if (node.kind != AudioNode::kEffect) return nullptr;
  auto* filter = dynamic_cast<ZrIIRFilter*>(node.effect.get());
  return filter ? &filter->cascade() : nullptr;
}

// Runs first and the equalisers that follow it in the chain, each taking the one before as
// its input, as one series (an equaliser's processReplacing is its cascade). Returns the
// last node run.
AudioNode* runEqualiserSeries(AudioNode& first, const BufferBank& bank, VstInt32 sampleFrames) {
  IIRCascade::Stage stages[kMaxSeries];
  int count = 0;
  AudioNode* last = &first;
  for (AudioNode* node = &first; node && count < kMaxSeries; node = node->next.get()) {
    IIRCascade* cascade = equaliserOf(*node);
    if (!cascade || (count > 0 && node->input != last)) break;
    stages[count++] = {cascade, bank.channel(node->outBuf)};
    last = node;
  }
  const VstInt32 inputEntry = first.input ? first.input->outBuf : BufferBank::kGraphInput;
  IIRCascade::processSeries(stages, count, bank.channel(inputEntry), sampleFrames);
  return last;
}

}  // namespace

void runGraph(AudioNode& head, const BufferBank& bank, VstInt32 sampleFrames) {
  for (AudioNode* node = head.next.get(); node; node = node->next.get()) {
    if (equaliserOf(*node)) {
      node = runEqualiserSeries(*node, bank, sampleFrames);
    } else if (node->kind == AudioNode::kEffect) {
      runEffect(*node, bank, sampleFrames);
    } else {
      node->processBlock(bank, sampleFrames);
    }
  }
}

void clearGraphState(AudioNode& head) {
  for (AudioNode* node = head.next.get(); node; node = node->next.get()) node->clearState();
}
