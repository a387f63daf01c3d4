#include "frame/EffectEntry.h"

#include "frame/AudioEffect.h"

namespace {

AudioEffect* effectOf(AEffect* record) { return static_cast<AudioEffect*>(record->object); }

// effClose through the record is the end of the effect's life: the effect
// is told first, then deleted.
VstIntPtr VSTCALLBACK dispatchEntry(AEffect* record, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                    void* ptr, float opt) {
  AudioEffect* effect = effectOf(record);
  if (opcode == effClose) {
    effect->dispatcher(opcode, index, value, ptr, opt);
    delete effect;
    return 1;
  }
  return effect->dispatcher(opcode, index, value, ptr, opt);
}

void VSTCALLBACK processEntry(AEffect* record, float** inputs, float** outputs, VstInt32 sampleFrames) {
  effectOf(record)->process(inputs, outputs, sampleFrames);
}

void VSTCALLBACK processReplacingEntry(AEffect* record, float** inputs, float** outputs,
                                       VstInt32 sampleFrames) {
  effectOf(record)->processReplacing(inputs, outputs, sampleFrames);
}

void VSTCALLBACK processDoubleReplacingEntry(AEffect* record, double** inputs, double** outputs,
                                             VstInt32 sampleFrames) {
  effectOf(record)->processDoubleReplacing(inputs, outputs, sampleFrames);
}

void VSTCALLBACK setParameterEntry(AEffect* record, VstInt32 index, float value) {
  effectOf(record)->setParameter(index, value);
}

float VSTCALLBACK getParameterEntry(AEffect* record, VstInt32 index) {
  return effectOf(record)->getParameter(index);
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
