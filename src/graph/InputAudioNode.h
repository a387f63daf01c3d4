// The built-in input node: the head of every graph.
#pragma once

#include <memory>
#include <vector>

#include "graph/AudioNodeFX.h"

// An fx node without processor whose output is bank entry 0, already placed in the chain.
// It is never run. Besides the chain it owns the nodes that a description declared but
// that the output does not reach, so that destroying the head releases every node built.
class InputAudioNode final : public AudioNodeFX {
 public:
  InputAudioNode();

  // audio: nothing; the caller fills bank entry 0.
  void processBlock(const BufferBank& bank, VstInt32 sampleFrames) override;

  // build: takes over a node that is not part of the chain.
  void keepUnplaced(std::unique_ptr<AudioNode> node);
  const std::vector<std::unique_ptr<AudioNode>>& unplacedNodes() const { return unplaced; }

 private:
  std::vector<std::unique_ptr<AudioNode>> unplaced;
};
