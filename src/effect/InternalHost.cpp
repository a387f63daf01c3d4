#include "effect/InternalHost.h"

VstIntPtr VSTCALLBACK internalHostCallback(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr, void*,
                                           float) {
  if (opcode == audioMasterPinConnected) return index == 0 ? 0 : 1;
  return 0;
}
