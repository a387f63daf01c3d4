// The host callback with which the engine and every processor inside it are
// created, in place of the real host's.
#pragma once

#include "frame/VstInterface.h"

// Answers audioMasterPinConnected with 1 (not connected) for every pin but
// pin 0, so each inner effect works on one channel; every other request,
// automation reports included, gets 0 and goes nowhere. Any thread,
// real-time safe.
VstIntPtr VSTCALLBACK internalHostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                           void* ptr, float opt);
