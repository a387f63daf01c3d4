// The C functions that a host calls through the effect record.
#pragma once

#include "frame/VstInterface.h"

// Places the dispatcher, process, parameter and replacing entries in the
// record; each reaches the AudioEffect stored in the record's object field.
// No exception crosses them: one that escapes an operation gives the host 0
// (or nothing).
void installEntryFunctions(AEffect& record);
