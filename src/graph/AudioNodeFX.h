// The fx node: runs one processor over its input's buffer.
#pragma once

#include "graph/AudioNode.h"

// The processor (effect) is run by runGraph through its processReplacing; the node's own
// processBlock does nothing. Other nodes may read the processor's parameters.
class AudioNodeFX : public AudioNode {
 public:
  AudioNodeFX();

  // audio: the processor's getParameter(which); 0 for a node without processor.
  float getValue(VstInt32 which) override;
};
