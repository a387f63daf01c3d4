// The effect base: every effect object of the plug-in (the main effect, the
// engine and each processor) is built on it.
#pragma once

#include "frame/VstInterface.h"

class AEffEditor;

// Holds the effect record that a host sees and answers the dispatcher's
// opcodes 0 to 24. Threads: "audio" marks operations that the host calls on
// its real-time audio thread (they must not allocate, block or do I/O);
// "host" marks operations called from the host's other threads, where
// loading work is allowed.
class AudioEffect {
 public:
  AudioEffect(audioMasterCallback audioMaster, VstInt32 numPrograms, VstInt32 numParams);
  // Deletes the editor, if there is one.
  virtual ~AudioEffect();

  // host: answers the opcodes 0 to 24; others give 0. effSetProgram takes
  // only program numbers from 0 to numPrograms - 1.
  virtual VstIntPtr dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt);

  // host: effOpen and effClose.
  virtual void open();
  virtual void close();
  // host: switched off (effMainsChanged 0) and on (effMainsChanged 1).
  virtual void suspend();
  virtual void resume();
  // host, while suspended as a rule (real hosts also send them while on).
  virtual void setSampleRate(float newSampleRate);
  virtual void setBlockSize(VstInt32 newBlockSize);

  // audio: replaces outputs with sampleFrames processed samples.
  virtual void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) = 0;
  // audio: the 64-bit variant; the base does nothing.
  virtual void processDoubleReplacing(double** inputs, double** outputs, VstInt32 sampleFrames);
  // audio: forgets the signal carried from one block to the next (filter
  // histories, delay lines, averaging windows), so a fault in the signal
  // does not outlive its block; settings stay. Allocates nothing. The base
  // carries no signal.
  virtual void clearSignalState();

  // host or GUI: parameter access; values are normalised 0..1 unless an
  // effect says otherwise.
  virtual void setParameter(VstInt32 index, float value);
  virtual float getParameter(VstInt32 index);
  // host or GUI: setParameter, then tells the host of the change.
  virtual void setParameterAutomated(VstInt32 index, float value);

  // host: programs.
  virtual VstInt32 getProgram();
  virtual void setProgram(VstInt32 program);
  virtual void setProgramName(char* name);
  virtual void getProgramName(char* name);

  // host: parameter texts, written into the caller's buffer.
  virtual void getParameterLabel(VstInt32 index, char* label);
  virtual void getParameterDisplay(VstInt32 index, char* text);
  virtual void getParameterName(VstInt32 index, char* text);

  // host: opaque state; the base has none.
  virtual VstInt32 getChunk(void** data, bool isPreset = false);
  virtual VstInt32 setChunk(void* data, VstInt32 byteSize, bool isPreset = false);

  // Any thread before the host sees the record: fields of the record.
  virtual void setUniqueID(VstInt32 iD);
  virtual void setNumInputs(VstInt32 inputs);
  virtual void setNumOutputs(VstInt32 outputs);
  virtual void canProcessReplacing(bool state = true);
  virtual void canDoubleReplacing(bool state = true);
  virtual void programsAreChunks(bool state = true);
  virtual void setInitialDelay(VstInt32 delay);

  // Any thread: accessors.
  virtual AEffEditor* getEditor();
  // Called by an editor's constructor: the effect then owns the editor and
  // deletes it with itself. Not part of the virtual slot order.
  void setEditor(AEffEditor* newEditor);
  virtual AEffect* getAeffect();
  virtual float getSampleRate();
  virtual VstInt32 getBlockSize();

  // host or GUI: questions and notices to the host.
  virtual VstInt32 getMasterVersion();
  virtual VstInt32 getCurrentUniqueId();
  virtual void masterIdle();

  // Any thread: text conversions. Each writes at most maxLen characters and
  // a terminating zero, so text must hold maxLen + 1 bytes.
  virtual void dB2string(float value, char* text, VstInt32 maxLen);
  virtual void Hz2string(float samples, char* text, VstInt32 maxLen);
  virtual void ms2string(float samples, char* text, VstInt32 maxLen);
  virtual void float2string(float value, char* text, VstInt32 maxLen);
  virtual void int2string(VstInt32 value, char* text, VstInt32 maxLen);

  // audio: the legacy accumulating process; the base does nothing.
  virtual void process(float** inputs, float** outputs, VstInt32 sampleFrames);
  // audio: legacy VU reading.
  virtual float getVu();

  // Any thread before the host sees the record: legacy flags and fields.
  virtual void hasVu(bool state = true);
  virtual void hasClip(bool state = true);
  virtual void canMono(bool state = true);
  virtual void setRealtimeQualities(VstInt32 qualities);
  virtual void setOfflineQualities(VstInt32 qualities);

  // audio or host: asks the host whether a pin is connected; true when there
  // is no host or the host answers 0.
  virtual bool isInputConnected(VstInt32 input);
  virtual bool isOutputConnected(VstInt32 output);

 protected:
  // Sends a host opcode; 0 when there is no host callback.
  VstIntPtr callHost(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f);
  void setFlag(VstInt32 flag, bool state);
  bool hasFlag(VstInt32 flag) const;

  audioMasterCallback audioMaster;
  AEffEditor* editor = nullptr;
  float sampleRate = 44100.0f;
  VstInt32 blockSize = 1024;
  VstInt32 numPrograms;
  VstInt32 numParams;
  VstInt32 curProgram = 0;
  AEffect cEffect;
};
