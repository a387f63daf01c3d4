// The signal a graph carries from block to block.
#pragma once

#include "graph/AudioNode.h"

// audio: every node after head forgets the signal it carries between blocks
// (AudioNode::clearState). Allocates nothing.
void clearGraphState(AudioNode& head);
