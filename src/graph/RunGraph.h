// Runs one block through a graph.
#pragma once

#include "graph/AudioNode.h"
#include "graph/BufferBank.h"

// audio: runs every node after head once, in chain order: an fx node runs its processor
// from its input's buffer into its own, every other node its processBlock. The head is
// never run; its output is bank entry 0, which the caller fills beforehand. sampleFrames
// must not exceed BufferBank::kBufferLength.
void runGraph(AudioNode& head, const BufferBank& bank, VstInt32 sampleFrames);

// audio: every node after head forgets the signal it carries between blocks
// (AudioNode::clearState). Allocates nothing.
void clearGraphState(AudioNode& head);
