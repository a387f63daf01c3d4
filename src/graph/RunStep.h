// One thing that every block of a run plan does.
#pragma once

#include "frame/VstInterface.h"

// Made with the plan, off the audio thread; run on the audio thread, inside the engine's lock,
// where it must not allocate, block or do I/O.
class RunStep {
 public:
  RunStep() = default;
  virtual ~RunStep() = default;
  RunStep(const RunStep&) = delete;
  RunStep& operator=(const RunStep&) = delete;

  // audio: one block of sampleFrames samples; source is what the plan's input stages read.
  virtual void run(const float* source, VstInt32 sampleFrames) const = 0;
};
