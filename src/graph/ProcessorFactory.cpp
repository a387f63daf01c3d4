#include "graph/ProcessorFactory.h"

#include "graph/DescriptionText.h"
#include "processors/ADelay.h"
#include "processors/ZrClipper.h"
#include "processors/ZrIIRFilter.h"
#include "processors/ZrInv.h"

namespace {

std::unique_ptr<AudioEffect> newProcessor(ProcessorType typeCode, audioMasterCallback hostCallback,
                                          const TimeScale& scale) {
  switch (typeCode) {
    case kInverter:
      return std::make_unique<ZrInv>(hostCallback);
    case kClipper:
      return std::make_unique<ZrClipper>(hostCallback, scale);
    case kDelay:
      return std::make_unique<ADelay>(hostCallback, scale);
    case kEqualiser:
      return std::make_unique<ZrIIRFilter>(hostCallback, scale);
    case kNoProcessor:
      break;
  }
  return nullptr;
}

}  // namespace

ProcessorType processorTypeCode(const char* type) {
  for (ProcessorType code : {kInverter, kClipper, kDelay, kEqualiser}) {
    if (equalsIgnoringCase(type, processorTypeName(code))) return code;
  }
  return kNoProcessor;
}

const char* processorTypeName(ProcessorType typeCode) {
  switch (typeCode) {
    case kInverter:
      return "inv";
    case kClipper:
      return "clip";
    case kDelay:
      return "delay";
    case kEqualiser:
      return "eq";
    case kNoProcessor:
      break;
  }
  return nullptr;
}

std::unique_ptr<AudioEffect> createProcessor(const std::string& id, ProcessorType typeCode,
                                             audioMasterCallback hostCallback, PresetLoader& presets,
                                             const TimeScale& scale) {
  std::unique_ptr<AudioEffect> processor = newProcessor(typeCode, hostCallback, scale);
  // The loader's answer is not needed: without a preset the processor keeps its defaults.
  if (processor) presets.loadPreset(*processor, id + ".fxp");
  return processor;
}
