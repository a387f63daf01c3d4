#include "graph/RunGraph.h"

#include "processors/WavefrontSeries.h"
#include "processors/ZrClipper.h"
#include "processors/ZrIIRFilter.h"

namespace {

// Stages of one series run at once; a longer run is split.
constexpr int kMaxSeries = 24;

VstInt32 inputEntry(const AudioNode& node) { return node.input ? node.input->outBuf : BufferBank::kGraphInput; }

void runEffect(AudioNode& node, const BufferBank& bank, VstInt32 sampleFrames) {
  if (!node.effect) return;
  node.effect->processReplacing(bank.entries[inputEntry(node)], bank.entries[node.outBuf], sampleFrames);
}

template <typename Processor>
Processor* processorOf(AudioNode& node) {
  return node.kind == AudioNode::kEffect ? dynamic_cast<Processor*>(node.effect.get()) : nullptr;
}

// The node as a stage of a series: an equaliser (its processReplacing is its cascade) or a
// clipper; false for any other node.
bool asSeriesStage(AudioNode& node, const BufferBank& bank, WavefrontSeries::Stage& stage) {
  float* destination = bank.channel(node.outBuf);
  if (auto* filter = processorOf<ZrIIRFilter>(node)) {
    stage = WavefrontSeries::equaliser(filter->cascade(), destination);
  } else if (auto* clipper = processorOf<ZrClipper>(node)) {
    stage = WavefrontSeries::clipper(*clipper, destination);
  } else {
    return false;
  }
  return true;
}

// Runs first, an equaliser, and the equalisers and clippers that follow it in the chain, each
// taking the one before as its input, as one series. Returns the last node run.
AudioNode* runSeries(AudioNode& first, const BufferBank& bank, VstInt32 sampleFrames) {
  WavefrontSeries::Stage stages[kMaxSeries];
  int count = 0;
  AudioNode* last = &first;
  for (AudioNode* node = &first; node && count < kMaxSeries; node = node->next.get()) {
    if ((count > 0 && node->input != last) || !asSeriesStage(*node, bank, stages[count])) break;
    ++count;
    last = node;
  }
  WavefrontSeries::run(stages, count, bank.channel(inputEntry(first)), sampleFrames);
  return last;
}

}  // namespace

void runGraph(AudioNode& head, const BufferBank& bank, VstInt32 sampleFrames) {
  for (AudioNode* node = head.next.get(); node; node = node->next.get()) {
    if (processorOf<ZrIIRFilter>(*node)) {
      node = runSeries(*node, bank, sampleFrames);
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
