// One of the delay's sixteen remembered settings.
#pragma once

#include "frame/VstInterface.h"

struct DelayProgram {
  float delay = 0.5f;
  float feedback = 0.5f;
  float volume = 0.75f;
  // An unchanged "Init" is shown with the program's number ("Init 1" to "Init 16").
  char name[kVstMaxProgNameLen] = "Init";
};
