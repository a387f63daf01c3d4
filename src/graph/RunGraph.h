// Runs one block through a graph.
#pragma once

#include "graph/AudioNode.h"
#include "graph/BufferBank.h"
#include "processors/WavefrontSeries.h"

// audio: runs every node after head once, in chain order: an fx node runs its processor
// from its input's buffer into its own, every other node its processBlock. The head is
// never run; its output is bank entry 0, which the caller fills beforehand. sampleFrames
// must not exceed BufferBank::kBufferLength.
void runGraph(AudioNode& head, const BufferBank& bank, VstInt32 sampleFrames);

// Stages that make the graph's input from source, each reading the one before and the last
// writing bank entry 0 (the engine's input filters).
struct GraphInputStages {
  const WavefrontSeries::Stage* stages;
  VstInt32 count;
  const float* source;
};
// audio: runs the input stages, then the graph as above; when the first node continues them
// (an equaliser or clipper reading the graph input) they share its series, which gives the
// same bits as running them first.
void runGraph(AudioNode& head, const BufferBank& bank, VstInt32 sampleFrames, const GraphInputStages& input);

// audio: every node after head forgets the signal it carries between blocks
// (AudioNode::clearState). Allocates nothing.
void clearGraphState(AudioNode& head);
