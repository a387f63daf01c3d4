#include "host/HostedEffect.h"

HostedEffect::~HostedEffect() { close(); }

VstIntPtr HostedEffect::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
  return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

void HostedEffect::start(float sampleRate, VstInt32 blockSize) {
  open();
  configure(sampleRate, blockSize);
  setMains(true);
}

void HostedEffect::open() { dispatch(effOpen); }

void HostedEffect::configure(float sampleRate, VstInt32 blockSize) {
  dispatch(effSetSampleRate, 0, 0, nullptr, sampleRate);
  dispatch(effSetBlockSize, 0, blockSize);
}

void HostedEffect::setMains(bool on) { dispatch(effMainsChanged, 0, on ? 1 : 0); }

void HostedEffect::close() {
  if (!effect) return;
  dispatch(effClose);
  effect = nullptr;
}

void HostedEffect::processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) {
  effect->processReplacing(effect, inputs, outputs, sampleFrames);
}

void HostedEffect::processAccumulating(float** inputs, float** outputs, VstInt32 sampleFrames) {
  effect->process(effect, inputs, outputs, sampleFrames);
}

void HostedEffect::setParameter(VstInt32 index, float value) { effect->setParameter(effect, index, value); }

float HostedEffect::getParameter(VstInt32 index) { return effect->getParameter(effect, index); }

std::string HostedEffect::parameterName(VstInt32 index) { return text(effGetParamName, index); }
std::string HostedEffect::parameterDisplay(VstInt32 index) { return text(effGetParamDisplay, index); }
std::string HostedEffect::parameterLabel(VstInt32 index) { return text(effGetParamLabel, index); }
std::string HostedEffect::programName() { return text(effGetProgramName); }
std::string HostedEffect::effectName() { return text(effGetEffectName); }
std::string HostedEffect::vendorString() { return text(effGetVendorString); }
std::string HostedEffect::productString() { return text(effGetProductString); }

VstInt32 HostedEffect::tailSize() { return static_cast<VstInt32>(dispatch(effGetTailSize)); }

// Hosts pass generous buffers: effects may write more than the interface's
// short limits, and a host must survive that.
std::string HostedEffect::text(VstInt32 opcode, VstInt32 index) {
  char buffer[256] = {};
  dispatch(opcode, index, 0, buffer);
  buffer[sizeof buffer - 1] = '\0';
  return buffer;
}
