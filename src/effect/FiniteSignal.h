// The test that keeps a fault in the signal from outliving its block.
#pragma once

#include "frame/VstInterface.h"

// audio: whether every one of count samples is finite (neither infinite nor
// not a number). One pass over the block, four samples at a time.
bool allFinite(const float* samples, VstInt32 count);
