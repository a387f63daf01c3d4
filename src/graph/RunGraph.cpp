#include "graph/RunGraph.h"

#include <algorithm>

#include "graph/AveragerAN.h"
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

// Control nodes that a series passes over and runs after it, in chain order.
class DeferredNodes {
 public:
  static constexpr int kCapacity = 8;

  bool full() const { return count == kCapacity; }
  void add(AudioNode& node) { nodes[count++] = &node; }
  // Whether a series node writing entry would overwrite what a deferred node is to read.
  bool read(VstInt32 entry) const {
    return std::any_of(nodes, nodes + count, [&](const AudioNode* node) { return inputEntry(*node) == entry; });
  }
  // Neighbouring averagers measure in one loop.
  void run(const BufferBank& bank, VstInt32 sampleFrames) const {
    for (int k = 0; k < count; ++k) {
      auto* averager = dynamic_cast<AveragerAN*>(nodes[k]);
      auto* next = k + 1 < count ? dynamic_cast<AveragerAN*>(nodes[k + 1]) : nullptr;
      if (averager && next && averager->measuresWithAnother(*next)) {
        AveragerAN::processBlocks(*averager, *next, bank, sampleFrames);
        ++k;
      } else {
        nodes[k]->processBlock(bank, sampleFrames);
      }
    }
  }

 private:
  AudioNode* nodes[kCapacity] = {};
  int count = 0;
};

// Where a series starts: stages already given (the graph's input filters, reading source),
// and the node whose output the next stage must read.
struct SeriesStart {
  const WavefrontSeries::Stage* stages;
  VstInt32 count;
  const float* source;
  const AudioNode* end;
};

// Runs the given start and the equalisers and clippers that follow it in the chain from
// first, each taking the one before as its input, as one series. Control nodes in between
// (they write no buffer, and no processor reads their values while it runs) run after the
// series, in their order, unless a later stage of the series would overwrite the buffer they
// read; so a level measured from the middle of a chain does not split it. Returns the last
// node run, or null when the series holds no node of the chain.
AudioNode* runSeries(AudioNode* first, const SeriesStart& start, const AudioNode& head, const BufferBank& bank,
                     VstInt32 sampleFrames) {
  WavefrontSeries::Stage stages[kMaxSeries];
  std::copy(start.stages, start.stages + start.count, stages);
  DeferredNodes deferred;
  int count = start.count;
  AudioNode* last = nullptr;
  const AudioNode* seriesEnd = start.end;
  for (AudioNode* node = first; node && count < kMaxSeries; node = node->next.get()) {
    if (count > 0 && node->kind == AudioNode::kControl && !deferred.full()) {
      deferred.add(*node);
      last = node;
      continue;
    }
    const AudioNode* input = node->input ? node->input : &head;
    if ((count > 0 && (input != seriesEnd || deferred.read(node->outBuf))) ||
        !asSeriesStage(*node, bank, stages[count])) {
      break;
    }
    ++count;
    last = node;
    seriesEnd = node;
  }
  WavefrontSeries::run(stages, count, start.source, sampleFrames);
  deferred.run(bank, sampleFrames);
  return last;
}

// Runs the chain from node on.
void runChain(AudioNode* node, const AudioNode& head, const BufferBank& bank, VstInt32 sampleFrames) {
  for (; node; node = node->next.get()) {
    if (processorOf<ZrIIRFilter>(*node)) {
      node = runSeries(node, {nullptr, 0, bank.channel(inputEntry(*node)), nullptr}, head, bank, sampleFrames);
    } else if (node->kind == AudioNode::kEffect) {
      runEffect(*node, bank, sampleFrames);
    } else {
      node->processBlock(bank, sampleFrames);
    }
  }
}

}  // namespace

void runGraph(AudioNode& head, const BufferBank& bank, VstInt32 sampleFrames) {
  runChain(head.next.get(), head, bank, sampleFrames);
}

void runGraph(AudioNode& head, const BufferBank& bank, VstInt32 sampleFrames, const GraphInputStages& input) {
  AudioNode* first = head.next.get();
  const AudioNode* last = runSeries(first, {input.stages, input.count, input.source, &head}, head, bank, sampleFrames);
  runChain(last ? last->next.get() : first, head, bank, sampleFrames);
}

void clearGraphState(AudioNode& head) {
  for (AudioNode* node = head.next.get(); node; node = node->next.get()) node->clearState();
}
