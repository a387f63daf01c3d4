// One parameter of a graph node, given as a constant or read from another node.
#pragma once

#include "frame/VstInterface.h"

class AudioNode;

struct ParamBinding {
  // The constant, used when there is no source.
  float value = 1.0f;
  // Not owned; when set, the parameter is source->getValue(get) at the moment it is read.
  AudioNode* source = nullptr;
  VstInt32 get = 0;
  // Index of the node's parameter that this binding supplies.
  VstInt32 set = 0;
};
