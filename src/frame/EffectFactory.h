// The factory through which the entry point creates the module's effect.
#pragma once

#include "frame/VstInterface.h"

class AudioEffect;

// Defined once per module: creates the effect that the host sees, or
// returns nullptr when it cannot be created.
AudioEffect* createEffectInstance(audioMasterCallback audioMaster);
