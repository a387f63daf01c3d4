// Typed access to an effect record, as a host drives it.
#pragma once

#include <string>

#include "frame/VstInterface.h"

// Drives one effect through its record's entry functions only. Owns the
// effect: destruction closes it (effClose) unless close() was called.
class HostedEffect {
 public:
  explicit HostedEffect(AEffect* effect) : effect(effect) {}
  ~HostedEffect();
  HostedEffect(const HostedEffect&) = delete;
  HostedEffect& operator=(const HostedEffect&) = delete;

  AEffect* record() const { return effect; }

  VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f);

  // The usual start: open, sample rate, block size, switched on.
  void start(float sampleRate, VstInt32 blockSize);
  // The steps of start() one by one, for hosts that set parameters between
  // opening the effect and configuring it.
  void open();
  void configure(float sampleRate, VstInt32 blockSize);
  void setMains(bool on);
  // effClose through the record: the effect is deleted.
  void close();

  void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames);
  void processAccumulating(float** inputs, float** outputs, VstInt32 sampleFrames);
  void setParameter(VstInt32 index, float value);
  float getParameter(VstInt32 index);

  std::string parameterName(VstInt32 index);
  std::string parameterDisplay(VstInt32 index);
  std::string parameterLabel(VstInt32 index);
  std::string programName();
  std::string effectName();
  std::string vendorString();
  std::string productString();
  // effGetTailSize: samples of sound after the input ends; 0 when unknown,
  // 1 when the effect has none.
  VstInt32 tailSize();

 private:
  std::string text(VstInt32 opcode, VstInt32 index = 0);

  AEffect* effect;
};
