// A Brelvanix processor with one program, whose only program data is its name.
#pragma once

#include <cstddef>

#include "frame/TextCopy.h"
#include "processors/BrelvanixProcessor.h"
#include "processors/ProcessorText.h"

// The name starts as "Default", is stored cut to nameCapacity - 1 characters and is handed out
// cut to the interface's program-name size, because the host's buffer reaches a processor
// through the main effect's forwarding.
template <std::size_t nameCapacity>
class SingleProgramProcessor : public BrelvanixProcessor {
 public:
  SingleProgramProcessor(audioMasterCallback audioMaster, VstInt32 numParams, const Identity& identity)
      : BrelvanixProcessor(audioMaster, 1, numParams, identity) {}

  // host thread: the one program's name.
  void getProgramName(char* name) override { copyText(name, programName, kProgramNameTextSize); }
  void setProgramName(char* name) override { copyText(programName, name, nameCapacity); }

 private:
  char programName[nameCapacity] = "Default";
};
