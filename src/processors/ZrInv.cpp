#include "processors/ZrInv.h"

ZrInv::ZrInv(audioMasterCallback audioMaster)
    : SingleProgramProcessor(audioMaster, 1, {"zriinv", "brelvanix zriinv", 1000}) {
  setNumInputs(2);
  setNumOutputs(2);
  setUniqueID(CCONST('z', 'r', 'i', 'n'));
  canMono();
}

// The two routines ask about different pins (2 and 1); under the engine's host both answer
// "not connected", so inside a graph each works on channel 0 alone.
void ZrInv::processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) {
  negate<OutputMode::replace>(inputs, outputs, isInputConnected(2) ? 2 : 1, sampleFrames);
}

void ZrInv::process(float** inputs, float** outputs, VstInt32 sampleFrames) {
  negate<OutputMode::accumulate>(inputs, outputs, isInputConnected(1) ? 2 : 1, sampleFrames);
}

// A sign flip is exact: 0 becomes -0, and out + (-in) equals out - in bit for bit.
template <OutputMode mode>
void ZrInv::negate(float** inputs, float** outputs, VstInt32 channels, VstInt32 sampleFrames) {
  for (VstInt32 channel = 0; channel < channels; ++channel) {
    const float* in = inputs[channel];
    float* out = outputs[channel];
    forEachSample(sampleFrames, [&]<typename Samples>(VstInt32 i) {
      writeOutput<mode>(out + i, -loadSamples<Samples>(in + i));
    });
  }
}

void ZrInv::setParameter(VstInt32, float) {}

float ZrInv::getParameter(VstInt32) { return 0.0f; }

void ZrInv::getParameterName(VstInt32, char*) {}

void ZrInv::getParameterLabel(VstInt32, char* label) { label[0] = '\0'; }

void ZrInv::getParameterDisplay(VstInt32, char*) {}
