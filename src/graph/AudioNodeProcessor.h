// The base of the control nodes, which compute values for other nodes' bindings.
#pragma once

#include "graph/AudioNode.h"

// A control node never has an audio output buffer; its optional input only places that
// node before it in the chain. processBlock does nothing and getValue is 0.
class AudioNodeProcessor : public AudioNode {
 public:
  AudioNodeProcessor();
};
