#include "pack/ProcessorCatalogue.h"

#include <algorithm>
#include <memory>

#include "frame/AudioEffect.h"
#include "graph/ProcessorFactory.h"
#include "pack/AsciiCase.h"

namespace {

// The processors are described as created, before any preset.
class NoPresets : public PresetLoader {
 public:
  bool loadPreset(AudioEffect&, const std::string&) override { return false; }
};

// Parameter names are probed beyond the declared count: the delay declares
// one parameter to the effect base but names and handles three. An index
// whose name is left untouched (the sentinel survives) is not named.
constexpr VstInt32 kProbedParameters = 64;
constexpr char kUntouched = '\x01';

bool nameAt(AudioEffect& processor, VstInt32 index, std::string& name) {
  char text[kVstMaxParamStrLen * 4] = {kUntouched};
  processor.getParameterName(index, text);
  text[sizeof text - 1] = '\0';
  if (text[0] == kUntouched) return false;
  name = text;
  return true;
}

// The graph builder's own factory, so a type name here means what it means
// in a graph description.
ProcessorInfo describe(const std::string& typeName) {
  NoPresets noPresets;
  std::unique_ptr<AudioEffect> processor =
      createProcessor("", processorTypeCode(typeName.c_str()), nullptr, noPresets);
  AEffect* record = processor->getAeffect();
  std::vector<std::string> names(kProbedParameters);
  VstInt32 count = record->numParams;
  for (VstInt32 i = 0; i < kProbedParameters; ++i)
    if (nameAt(*processor, i, names[i])) count = std::max(count, i + 1);
  names.resize(count);
  return ProcessorInfo{typeName, record->uniqueID, record->version, names};
}

}  // namespace

VstInt32 ProcessorInfo::parameterIndex(std::string_view name) const {
  auto found = std::find(parameterNames.begin(), parameterNames.end(), name);
  if (name.empty() || found == parameterNames.end()) return -1;
  return static_cast<VstInt32>(found - parameterNames.begin());
}

const std::vector<ProcessorInfo>& processorCatalogue() {
  // The type names of graph descriptions' fx elements.
  static const std::vector<ProcessorInfo> catalogue{describe("eq"), describe("clip"), describe("inv"),
                                                    describe("delay")};
  return catalogue;
}

const ProcessorInfo* findProcessorType(std::string_view typeName) {
  for (const ProcessorInfo& info : processorCatalogue())
    if (equalIgnoringCase(info.typeName, typeName)) return &info;
  return nullptr;
}

const ProcessorInfo* findProcessorById(VstInt32 uniqueId) {
  for (const ProcessorInfo& info : processorCatalogue())
    if (info.uniqueId == uniqueId) return &info;
  return nullptr;
}

std::string knownProcessorTypes() {
  std::string names;
  for (const ProcessorInfo& info : processorCatalogue()) names += (names.empty() ? "" : ", ") + info.typeName;
  return names;
}
