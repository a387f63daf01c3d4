// Creates the processors of fx nodes.
#pragma once

#include <memory>
#include <string>

#include "frame/AudioEffect.h"
#include "graph/PresetLoader.h"
#include "processors/TimeScale.h"

// Processor type codes of fx elements.
enum ProcessorType : VstInt32 {
  kNoProcessor = 0,
  kInverter = 1,
  kClipper = 2,
  kDelay = 3,
  kEqualiser = 4,
};

// The code for an fx element's "type": "inv", "clip", "delay" or "eq" in any letter case;
// kNoProcessor for anything else.
ProcessorType processorTypeCode(const char* type);

// The lower-case type name for a code ("eq" for kEqualiser); nullptr for kNoProcessor.
const char* processorTypeName(ProcessorType typeCode);

// build: the processor for typeCode, created with hostCallback and the graph's time scale,
// with the preset id + ".fxp" loaded into it (a missing preset leaves its constructor's
// values); nullptr for kNoProcessor.
std::unique_ptr<AudioEffect> createProcessor(const std::string& id, ProcessorType typeCode,
                                             audioMasterCallback hostCallback, PresetLoader& presets,
                                             const TimeScale& scale = {});
