// The processor types a preset can be written for, as the processors
// themselves describe them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "frame/VstInterface.h"

// One processor type: its name in graph descriptions, the identity it writes
// into an FXP program and the names of its parameters ("" when unnamed). Its
// parameters are those it declares or names, whichever reach further.
struct ProcessorInfo {
  std::string typeName;
  VstInt32 uniqueId;
  VstInt32 effectVersion;
  std::vector<std::string> parameterNames;

  VstInt32 numParams() const { return static_cast<VstInt32>(parameterNames.size()); }
  // Index of the named parameter, -1 when there is none of that name.
  VstInt32 parameterIndex(std::string_view name) const;
};

// Every processor type, asked once of a fresh instance of each processor.
const std::vector<ProcessorInfo>& processorCatalogue();

// By type name, compared without regard to case as in graph descriptions.
const ProcessorInfo* findProcessorType(std::string_view typeName);

const ProcessorInfo* findProcessorById(VstInt32 uniqueId);

// "eq, clip, ..." for messages.
std::string knownProcessorTypes();
