#include "graph/RunPlan.h"

#include <algorithm>

#include "graph/AveragerAN.h"
#include "processors/ZrClipper.h"
#include "processors/ZrIIRFilter.h"

namespace {

// Stages of one series; a longer run is split.
constexpr int kMaxSeries = 24;
// Control nodes that one series may pass over.
constexpr std::size_t kMaxDeferred = 8;

// Equalisers and clippers, each reading the one before, over one block.
class SeriesStep final : public RunStep {
 public:
  // A null source stands for the block's source.
  SeriesStep(std::vector<WavefrontSeries::Stage> stages, const float* source, VstInt32 lanes)
      : stages(std::move(stages)), source(source), lanes(lanes) {}

  void run(const float* blockSource, VstInt32 sampleFrames) const override {
    WavefrontSeries::run(stages.data(), static_cast<VstInt32>(stages.size()), source ? source : blockSource,
                         sampleFrames, lanes);
  }

 private:
  const std::vector<WavefrontSeries::Stage> stages;
  const float* const source;
  const VstInt32 lanes;
};

class NodeStep final : public RunStep {
 public:
  NodeStep(AudioNode& node, const BufferBank& bank) : node(node), bank(bank) {}

  void run(const float*, VstInt32 sampleFrames) const override { node.processBlock(bank, sampleFrames); }

 private:
  AudioNode& node;
  const BufferBank& bank;
};

// Two averagers measuring in one loop (AveragerAN::processBlocks).
class AveragerPairStep final : public RunStep {
 public:
  AveragerPairStep(AveragerAN& first, AveragerAN& second, const BufferBank& bank)
      : first(first), second(second), bank(bank) {}

  void run(const float*, VstInt32 sampleFrames) const override {
    AveragerAN::processBlocks(first, second, bank, sampleFrames);
  }

 private:
  AveragerAN& first;
  AveragerAN& second;
  const BufferBank& bank;
};

template <typename Processor>
Processor* processorOf(AudioNode& node) {
  return node.kind == AudioNode::kEffect ? dynamic_cast<Processor*>(node.effect.get()) : nullptr;
}

// Where a series starts: stages already given (the input stages, reading the block's source
// when source is null), and the node whose output the next stage must read.
struct SeriesStart {
  const WavefrontSeries::Stage* stages;
  VstInt32 count;
  const float* source;
  const AudioNode* end;
};

// Works out the steps of a chain, in chain order.
class Planner {
 public:
  Planner(AudioNode& head, const BufferBank& bank, VstInt32 lanes,
          std::vector<std::unique_ptr<RunStep>>& steps)
      : head(head), bank(bank), lanes(lanes), steps(steps) {}

  void plan(const RunPlan::InputStages& input) {
    AudioNode* first = head.next.get();
    if (input.count == 0) return planChain(first);
    const AudioNode* last = planSeries(first, {input.stages, input.count, nullptr, &head});
    planChain(last ? last->next.get() : first);
  }

 private:
  void planChain(AudioNode* node) {
    for (; node; node = node->next.get()) {
      if (processorOf<ZrIIRFilter>(*node)) {
        node = planSeries(node, {nullptr, 0, bank.channel(node->inputEntry()), nullptr});
      } else {
        add(std::make_unique<NodeStep>(*node, bank));
      }
    }
  }

  // The given start and the equalisers and clippers that follow it in the chain from first,
  // each taking the one before as its input, as one series. Control nodes in between (they
  // write no buffer, and no processor reads their values while the series runs) run after
  // it, in their order, unless a later stage would overwrite the buffer they read. Returns
  // the last node planned, or null when the series holds no node of the chain.
  AudioNode* planSeries(AudioNode* first, const SeriesStart& start) {
    std::vector<WavefrontSeries::Stage> stages(start.stages, start.stages + start.count);
    std::vector<AudioNode*> deferred;
    AudioNode* last = nullptr;
    const AudioNode* seriesEnd = start.end;
    for (AudioNode* node = first; node && stages.size() < kMaxSeries; node = node->next.get()) {
      const bool started = !stages.empty();
      if (started && node->kind == AudioNode::kControl && deferred.size() < kMaxDeferred) {
        deferred.push_back(node);
        last = node;
        continue;
      }
      const AudioNode* input = node->input ? node->input : &head;
      if (started && (input != seriesEnd || readByAny(deferred, node->outBuf))) break;
      if (!addStage(*node, stages)) break;
      last = node;
      seriesEnd = node;
    }
    add(std::make_unique<SeriesStep>(std::move(stages), start.source, lanes));
    planDeferred(deferred);
    return last;
  }

  // The node as a stage of a series: an equaliser (its processReplacing is its cascade) or a
  // clipper; false for any other node.
  bool addStage(AudioNode& node, std::vector<WavefrontSeries::Stage>& stages) const {
    float* destination = bank.channel(node.outBuf);
    if (auto* filter = processorOf<ZrIIRFilter>(node)) {
      stages.push_back(WavefrontSeries::equaliser(filter->cascade(), destination));
    } else if (auto* clipper = processorOf<ZrClipper>(node)) {
      stages.push_back(WavefrontSeries::clipper(*clipper, destination));
    } else {
      return false;
    }
    return true;
  }

  // Whether a stage writing entry would overwrite what one of nodes is to read.
  static bool readByAny(const std::vector<AudioNode*>& nodes, VstInt32 entry) {
    return std::any_of(nodes.begin(), nodes.end(),
                       [&](const AudioNode* node) { return node->inputEntry() == entry; });
  }

  // Neighbouring averagers measure in one loop.
  void planDeferred(const std::vector<AudioNode*>& nodes) {
    for (std::size_t k = 0; k < nodes.size(); ++k) {
      auto* averager = dynamic_cast<AveragerAN*>(nodes[k]);
      auto* next = k + 1 < nodes.size() ? dynamic_cast<AveragerAN*>(nodes[k + 1]) : nullptr;
      if (averager && next && averager->measuresWithAnother(*next)) {
        add(std::make_unique<AveragerPairStep>(*averager, *next, bank));
        ++k;
      } else {
        add(std::make_unique<NodeStep>(*nodes[k], bank));
      }
    }
  }

  void add(std::unique_ptr<RunStep> step) { steps.push_back(std::move(step)); }

  AudioNode& head;
  const BufferBank& bank;
  const VstInt32 lanes;
  std::vector<std::unique_ptr<RunStep>>& steps;
};

}  // namespace

RunPlan::RunPlan(AudioNode& head, const BufferBank& bank, const InputStages& input, VstInt32 lanes) {
  Planner(head, bank, lanes, steps).plan(input);
}

void RunPlan::run(VstInt32 sampleFrames, const float* source) const {
  for (const std::unique_ptr<RunStep>& step : steps) step->run(source, sampleFrames);
}
