// A graph built from a description, ready to be swapped into the engine.
#pragma once

#include <memory>

#include "frame/VstInterface.h"
#include "graph/AudioNode.h"
#include "graph/GraphTiming.h"
#include "graph/RunPlan.h"
#include "processors/Oversampler.h"

// Made off the audio thread (the build and its run plan allocate, and the build reads the
// archive); the engine's swap takes it over and hands back the one it replaces, so that
// graphs are built and destroyed where allocation is allowed.
struct PreparedGraph {
  std::unique_ptr<AudioNode> head;
  // The description's place in the engine's list: what "Preset" reads once it plays.
  VstInt32 presetIndex = 0;
  // How a block runs head's chain, with the engine's input filters before it.
  RunPlan plan;
  // The rate its description asks it to run at.
  GraphTiming timing;
  // The host's sample rate its processors were given (they run at timing.oversampling
  // times it).
  float sampleRate = 44100.0f;
  // Between the input filters and the graph, and between the graph and the output factor,
  // when the graph runs faster than the host; null at the host's rate. The plan then
  // starts at bank entry 0 without the input filters.
  std::unique_ptr<Oversampler> oversampler;
  // The most host samples one run of the plan takes: the bank's buffers hold them at the
  // graph's rate.
  VstInt32 chunkFrames = 0;
};
