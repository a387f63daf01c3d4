#include "graph/AudioNodeProcessor.h"

AudioNodeProcessor::AudioNodeProcessor() : AudioNode(kControl) { outBuf = kNoBuffer; }
