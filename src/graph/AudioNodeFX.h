// The fx node: runs one processor over its input's buffer.
#pragma once

#include "graph/AudioNode.h"

// Runs its processor (effect) through its processReplacing. A node without processor (its
// type names none) produces silence: an exact zero in every sample of its buffer, so that no
// reader hears what an earlier node or an earlier graph left there. Other nodes may read the
// processor's parameters.
class AudioNodeFX : public AudioNode {
 public:
  AudioNodeFX();

  // audio: the processor from the input's buffer into the node's own, or silence there.
  void processBlock(const BufferBank& bank, VstInt32 sampleFrames) override;
  // audio: the processor's getParameter(which); 0 for a node without processor.
  float getValue(VstInt32 which) override;
};
