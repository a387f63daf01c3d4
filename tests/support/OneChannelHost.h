// A stand-in for the engine's internal host callback, for tests that drive an
// inner effect the way the engine does.
#pragma once

#include "frame/VstInterface.h"

// Answers audioMasterPinConnected with 1 (not connected) for every pin other
// than 0 and 0 for pin 0; every other request gets 0. An effect created with
// it therefore works on one channel and its automation reports go nowhere.
inline VstIntPtr VSTCALLBACK oneChannelHost(AEffect* /*effect*/, VstInt32 opcode, VstInt32 index,
                                            VstIntPtr /*value*/, void* /*ptr*/, float /*opt*/) {
  if (opcode == audioMasterPinConnected) return index != 0 ? 1 : 0;
  return 0;
}
