#include "graph/AudioNodeFX.h"

AudioNodeFX::AudioNodeFX() : AudioNode(kEffect) {}

float AudioNodeFX::getValue(VstInt32 which) { return effect ? effect->getParameter(which) : 0.0f; }
