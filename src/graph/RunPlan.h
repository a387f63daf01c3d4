// How a graph runs a block, worked out once when the graph is built.
#pragma once

#include <memory>
#include <vector>

#include "graph/AudioNode.h"
#include "graph/BufferBank.h"
#include "graph/RunStep.h"
#include "processors/PassWavefront.h"
#include "processors/WavefrontSeries.h"

// The steps of one block, in chain order: neighbouring equalisers and clippers that feed one
// another run as one series (their passes sharing wavefronts of the plan's lane width); the
// dividers and averagers that such a series passes over run right after it, unless a later
// stage would overwrite the buffer they read, two neighbouring averagers measuring in one
// loop; every other node runs its processBlock. The result has the bits of running every node
// on its own, one after the other. A block runs the steps as they are, without looking at
// what the nodes are.
class RunPlan {
 public:
  // Stages that make the graph's input from the block's source, each reading the one before
  // and the last writing bank entry 0 (the engine's input filters). They start the graph's
  // first series when its first node continues them, which gives the bits of running them
  // first.
  struct InputStages {
    const WavefrontSeries::Stage* stages;
    VstInt32 count;
  };

  // build: the plan of the chain after head over bank, with the input stages before it and
  // wavefronts of at most lanes lanes (held to 1 to PassWavefront::laneCapacity(); every
  // width gives the same bits). Allocates. The chain, its buffers and its processors' types
  // must stay as they are while the plan lives, and bank must outlive it.
  RunPlan(AudioNode& head, const BufferBank& bank, const InputStages& input = {nullptr, 0},
          VstInt32 lanes = PassWavefront::laneCapacity());

  // audio: runs one block: the input stages from source (unused without them), then every
  // node after head once. The head is never run; without input stages the caller fills bank
  // entry 0 beforehand. sampleFrames must not exceed BufferBank::kBufferLength. Allocates
  // nothing.
  void run(VstInt32 sampleFrames, const float* source = nullptr) const;

 private:
  std::vector<std::unique_ptr<RunStep>> steps;
};
