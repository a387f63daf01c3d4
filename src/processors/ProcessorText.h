// Text limits shared by the built-in processors.
#pragma once

#include "frame/VstInterface.h"

// The main effect passes every host request on to its processors with the host's own text
// buffer, so a processor's display text is cut to this many characters (plus the terminator)
// instead of trusting the value to format short.
constexpr VstInt32 kDisplayTextLength = 10;

// Program names handed out are cut to the interface's program-name size, for the same reason.
constexpr VstInt32 kProgramNameTextSize = kVstMaxProgNameLen;
