#include "frame/EffectEntry.h"

#include "frame/AudioEffect.h"

namespace {

AudioEffect* effectOf(AEffect* record) { return static_cast<AudioEffect*>(record->object); }

// The host is C and cannot take an exception: whatever escapes an effect's
// operation (an allocation failure, as a rule) ends here, and the host gets
// the neutral answer. The effects keep their own state consistent, so the
// host may go on using the effect.
template <typename Call>
auto shielded(Call&& call, decltype(call()) fallback) noexcept {
  try {
    return call();
  } catch (...) {
    return fallback;
  }
}

template <typename Call>
void shielded(Call&& call) noexcept {
  try {
    call();
  } catch (...) {
  }
}

// effClose through the record is the end of the effect's life: the effect
// is told first, then deleted.
VstIntPtr VSTCALLBACK dispatchEntry(AEffect* record, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                    void* ptr, float opt) {
  AudioEffect* effect = effectOf(record);
  if (opcode == effClose) {
    shielded([&] { effect->dispatcher(opcode, index, value, ptr, opt); });
    delete effect;
    return 1;
  }
  return shielded([&] { return effect->dispatcher(opcode, index, value, ptr, opt); }, VstIntPtr{0});
}

void VSTCALLBACK processEntry(AEffect* record, float** inputs, float** outputs, VstInt32 sampleFrames) {
  shielded([&] { effectOf(record)->process(inputs, outputs, sampleFrames); });
}

void VSTCALLBACK processReplacingEntry(AEffect* record, float** inputs, float** outputs,
                                       VstInt32 sampleFrames) {
  shielded([&] { effectOf(record)->processReplacing(inputs, outputs, sampleFrames); });
}

void VSTCALLBACK processDoubleReplacingEntry(AEffect* record, double** inputs, double** outputs,
                                             VstInt32 sampleFrames) {
  shielded([&] { effectOf(record)->processDoubleReplacing(inputs, outputs, sampleFrames); });
}

void VSTCALLBACK setParameterEntry(AEffect* record, VstInt32 index, float value) {
  shielded([&] { effectOf(record)->setParameter(index, value); });
}

float VSTCALLBACK getParameterEntry(AEffect* record, VstInt32 index) {
  return shielded([&] { return effectOf(record)->getParameter(index); }, 0.0f);
}

}  // namespace

void installEntryFunctions(AEffect& record) {
  record.dispatcher = dispatchEntry;
  record.process = processEntry;
  record.setParameter = setParameterEntry;
  record.getParameter = getParameterEntry;
  record.processReplacing = processReplacingEntry;
  record.processDoubleReplacing = processDoubleReplacingEntry;
}
