// The extended effect base: the operations of the 2.x interface.
#pragma once

#include "frame/AudioEffect.h"

// Answers the dispatcher's opcodes 25 to 79 and passes the others to
// AudioEffect. Operations that only forward to the host return its answer
// (booleans: answer not 0), or false / 0 without a host callback. Thread
// marks as in AudioEffect.
class AudioEffectX : public AudioEffect {
 public:
  using AudioEffect::AudioEffect;

  // host: opcodes 25 to 79 here, the rest in AudioEffect.
  VstIntPtr dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) override;
  // host: asks for events when the effect is a synth or wants MIDI.
  void resume() override;

  // --- Parameters and programs (host or GUI).
  virtual bool canParameterBeAutomated(VstInt32 index);
  virtual bool string2parameter(VstInt32 index, char* text);
  virtual bool getParameterProperties(VstInt32 index, VstParameterProperties* p);
  // GUI: brackets an edit of one parameter (host opcodes 43 and 44).
  virtual bool beginEdit(VstInt32 index);
  virtual bool endEdit(VstInt32 index);
  virtual bool getProgramNameIndexed(VstInt32 category, VstInt32 index, char* text);
  virtual bool beginSetProgram();
  virtual bool endSetProgram();
  virtual VstInt32 beginLoadBank(VstPatchChunkInfo* ptr);
  virtual VstInt32 beginLoadProgram(VstPatchChunkInfo* ptr);

  // --- Connections and configuration (host).
  virtual bool ioChanged();
  virtual double updateSampleRate();
  virtual VstInt32 updateBlockSize();
  virtual VstInt32 getInputLatency();
  virtual VstInt32 getOutputLatency();
  virtual bool getInputProperties(VstInt32 index, VstPinProperties* properties);
  virtual bool getOutputProperties(VstInt32 index, VstPinProperties* properties);
  virtual bool setSpeakerArrangement(VstSpeakerArrangement* pluginInput, VstSpeakerArrangement* pluginOutput);
  virtual bool getSpeakerArrangement(VstSpeakerArrangement** pluginInput,
                                     VstSpeakerArrangement** pluginOutput);
  virtual bool setBypass(bool onOff);
  virtual bool setPanLaw(VstInt32 type, float val);
  virtual bool setProcessPrecision(VstInt32 precision);
  virtual VstInt32 getNumMidiInputChannels();
  virtual VstInt32 getNumMidiOutputChannels();

  // --- Real time (audio unless noted).
  virtual VstTimeInfo* getTimeInfo(VstInt32 filter);
  virtual VstInt32 getCurrentProcessLevel();
  virtual VstInt32 getAutomationState();
  virtual VstInt32 processEvents(VstEvents* events);
  // host: processing starts and stops.
  virtual VstInt32 startProcess();
  virtual VstInt32 stopProcess();
  virtual bool processVariableIo(VstVariableIo* varIo);
  virtual VstInt32 setTotalSampleToProcess(VstInt32 value);

  // --- Host properties (host).
  virtual bool getHostVendorString(char* text);
  virtual bool getHostProductString(char* text);
  virtual VstInt32 getHostVendorVersion();
  virtual VstIntPtr hostVendorSpecific(VstInt32 lArg1, VstIntPtr lArg2, void* ptrArg, float floatArg);
  virtual VstInt32 canHostDo(char* text);
  virtual VstInt32 getHostLanguage();

  // --- Plug-in properties (any thread).
  virtual void isSynth(bool state = true);
  virtual void noTail(bool state = true);
  virtual VstInt32 getGetTailSize();
  virtual void* getDirectory();
  virtual bool getEffectName(char* name);
  virtual bool getVendorString(char* text);
  virtual bool getProductString(char* text);
  virtual VstInt32 getVendorVersion();
  virtual VstIntPtr vendorSpecific(VstInt32 lArg, VstIntPtr lArg2, void* ptrArg, float floatArg);
  // 1 yes, -1 no, 0 do not know.
  virtual VstInt32 canDo(char* text);
  virtual VstInt32 getVstVersion();
  virtual VstPlugCategory getPlugCategory();

  // --- MIDI programs (host).
  virtual VstInt32 getMidiProgramName(VstInt32 channel, MidiProgramName* midiProgramName);
  virtual VstInt32 getCurrentMidiProgram(VstInt32 channel, MidiProgramName* currentProgram);
  virtual VstInt32 getMidiProgramCategory(VstInt32 channel, MidiProgramCategory* category);
  virtual bool hasMidiProgramsChanged(VstInt32 channel);
  virtual bool getMidiKeyName(VstInt32 channel, MidiKeyName* keyName);

  // --- Others (host or GUI).
  virtual bool updateDisplay();
  virtual bool sizeWindow(VstInt32 width, VstInt32 height);
  virtual bool openFileSelector(VstFileSelect* ptr);
  virtual bool closeFileSelector(VstFileSelect* ptr);
  virtual VstInt32 getNextShellPlugin(char* name);

  // --- Speaker tools (host). Not used by this plug-in's effects.
  virtual bool allocateArrangement(VstSpeakerArrangement** arrangement, VstInt32 nbChannels);
  virtual bool deallocateArrangement(VstSpeakerArrangement** arrangement);
  virtual bool copySpeaker(VstSpeakerProperties* to, VstSpeakerProperties* from);
  virtual bool matchArrangement(VstSpeakerArrangement** to, VstSpeakerArrangement* from);

  // --- Legacy offline and host calls (host). Kept for the slot order.
  virtual bool offlineRead(VstOfflineTask* offline, VstInt32 option, bool readSource = true);
  virtual bool offlineWrite(VstOfflineTask* offline, VstInt32 option);
  virtual bool offlineStart(VstAudioFile* ptr, VstInt32 numAudioFiles, VstInt32 numNewAudioFiles);
  virtual VstInt32 offlineGetCurrentPass();
  virtual VstInt32 offlineGetCurrentMetaPass();
  virtual bool offlineNotify(VstAudioFile* ptr, VstInt32 numAudioFiles, bool start);
  virtual bool offlinePrepare(VstOfflineTask* offline, VstInt32 count);
  virtual bool offlineRun(VstOfflineTask* offline, VstInt32 count);
  virtual VstInt32 offlineGetNumPasses();
  virtual VstInt32 offlineGetNumMetaPasses();
  virtual void wantEvents(VstInt32 filter = 1);
  virtual VstInt32 tempoAt(VstInt32 pos);
  virtual VstInt32 getNumAutomatableParameters();
  virtual VstInt32 getParameterQuantization();
  virtual VstInt32 getNumCategories();
  virtual bool copyProgram(VstInt32 destination);
  virtual bool needIdle();
  virtual AEffect* getPreviousPlug(VstInt32 input);
  virtual AEffect* getNextPlug(VstInt32 output);
  virtual void inputConnected(VstInt32 index, bool state);
  virtual void outputConnected(VstInt32 index, bool state);
  virtual VstInt32 willProcessReplacing();
  virtual void wantAsyncOperation(bool state = true);
  virtual void hasExternalBuffer(bool state = true);
  virtual VstInt32 reportCurrentPosition();
  virtual float* reportDestinationBuffer();
  virtual void setOutputSamplerate(float samplerate);
  virtual VstSpeakerArrangement* getInputSpeakerArrangement();
  virtual VstSpeakerArrangement* getOutputSpeakerArrangement();
  virtual void* openWindow(VstWindow* window);
  virtual bool closeWindow(VstWindow* window);
  virtual void setBlockSizeAndSampleRate(VstInt32 newBlockSize, float newSampleRate);
  virtual bool getErrorText(char* text);
  virtual void* getIcon();
  virtual bool setViewPosition(VstInt32 x, VstInt32 y);
  virtual VstInt32 fxIdle();
  virtual bool keysRequired();
  virtual void* getChunkFile(void* nativePath);

 private:
  VstIntPtr dispatchEditorKey(VstInt32 opcode, VstInt32 index, VstIntPtr value, float opt);
};
