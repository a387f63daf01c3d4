#include "frame/AudioEffectX.h"

#include <cstdlib>
#include <cstring>

#include "frame/AEffEditor.h"

namespace {

VstIntPtr flag(bool answer) { return answer ? 1 : 0; }

template <typename Pointer>
Pointer* pointerFrom(VstIntPtr value) {
  return reinterpret_cast<Pointer*>(value);
}

}  // namespace

VstIntPtr AudioEffectX::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
  char* const text = static_cast<char*>(ptr);
  const VstInt32 value32 = static_cast<VstInt32>(value);
  switch (opcode) {
    case effProcessEvents:
      return processEvents(static_cast<VstEvents*>(ptr));
    case effCanBeAutomated:
      return flag(canParameterBeAutomated(index));
    case effString2Parameter:
      return flag(string2parameter(index, text));
    case effGetNumProgramCategories:
      return getNumCategories();
    case effGetProgramNameIndexed:
      return flag(getProgramNameIndexed(value32, index, text));
    case effCopyProgram:
      return flag(copyProgram(index));
    case effConnectInput:
      inputConnected(index, value != 0);
      return 0;
    case effConnectOutput:
      outputConnected(index, value != 0);
      return 0;
    case effGetInputProperties:
      return flag(getInputProperties(index, static_cast<VstPinProperties*>(ptr)));
    case effGetOutputProperties:
      return flag(getOutputProperties(index, static_cast<VstPinProperties*>(ptr)));
    case effGetPlugCategory:
      return getPlugCategory();
    case effGetCurrentPosition:
      return reportCurrentPosition();
    case effGetDestinationBuffer:
      return reinterpret_cast<VstIntPtr>(reportDestinationBuffer());
    case effOfflineNotify:
      return flag(offlineNotify(static_cast<VstAudioFile*>(ptr), value32, index != 0));
    case effOfflinePrepare:
      return flag(offlinePrepare(static_cast<VstOfflineTask*>(ptr), value32));
    case effOfflineRun:
      return flag(offlineRun(static_cast<VstOfflineTask*>(ptr), value32));
    case effProcessVarIo:
      return flag(processVariableIo(static_cast<VstVariableIo*>(ptr)));
    case effSetSpeakerArrangement:
      return flag(setSpeakerArrangement(pointerFrom<VstSpeakerArrangement>(value),
                                        static_cast<VstSpeakerArrangement*>(ptr)));
    case effSetBlockSizeAndSampleRate:
      setBlockSizeAndSampleRate(value32, opt);
      return 0;
    case effSetBypass:
      return flag(setBypass(value != 0));
    case effGetEffectName:
      return flag(getEffectName(text));
    case effGetErrorText:
      return flag(getErrorText(text));
    case effGetVendorString:
      return flag(getVendorString(text));
    case effGetProductString:
      return flag(getProductString(text));
    case effGetVendorVersion:
      return getVendorVersion();
    case effVendorSpecific:
      return vendorSpecific(index, value, ptr, opt);
    case effCanDo:
      return canDo(text);
    case effGetTailSize:
      return getGetTailSize();
    case effIdle:
      return fxIdle();
    case effGetIcon:
      return reinterpret_cast<VstIntPtr>(getIcon());
    case effSetViewPosition:
      return flag(setViewPosition(index, value32));
    case effGetParameterProperties:
      return flag(getParameterProperties(index, static_cast<VstParameterProperties*>(ptr)));
    case effKeysRequired:
      return flag(!keysRequired());
    case effGetVstVersion:
      return getVstVersion();
    case effEditKeyDown:
    case effEditKeyUp:
      return dispatchEditorKey(opcode, index, value, opt);
    case effSetEditKnobMode:
      return editor ? flag(editor->setKnobMode(value32)) : 0;
    case effGetMidiProgramName:
      return getMidiProgramName(index, static_cast<MidiProgramName*>(ptr));
    case effGetCurrentMidiProgram:
      return getCurrentMidiProgram(index, static_cast<MidiProgramName*>(ptr));
    case effGetMidiProgramCategory:
      return getMidiProgramCategory(index, static_cast<MidiProgramCategory*>(ptr));
    case effHasMidiProgramsChanged:
      return flag(hasMidiProgramsChanged(index));
    case effGetMidiKeyName:
      return flag(getMidiKeyName(index, static_cast<MidiKeyName*>(ptr)));
    case effBeginSetProgram:
      return flag(beginSetProgram());
    case effEndSetProgram:
      return flag(endSetProgram());
    case effGetSpeakerArrangement:
      return flag(getSpeakerArrangement(pointerFrom<VstSpeakerArrangement*>(value),
                                        static_cast<VstSpeakerArrangement**>(ptr)));
    case effShellGetNextPlugin:
      return getNextShellPlugin(text);
    case effStartProcess:
      return startProcess();
    case effStopProcess:
      return stopProcess();
    case effSetTotalSampleToProcess:
      return setTotalSampleToProcess(value32);
    case effSetPanLaw:
      return flag(setPanLaw(value32, opt));
    case effBeginLoadBank:
      return beginLoadBank(static_cast<VstPatchChunkInfo*>(ptr));
    case effBeginLoadProgram:
      return beginLoadProgram(static_cast<VstPatchChunkInfo*>(ptr));
    case effSetProcessPrecision:
      return flag(setProcessPrecision(value32));
    case effGetNumMidiInputChannels:
      return getNumMidiInputChannels();
    case effGetNumMidiOutputChannels:
      return getNumMidiOutputChannels();
    default:
      return AudioEffect::dispatcher(opcode, index, value, ptr, opt);
  }
}

VstIntPtr AudioEffectX::dispatchEditorKey(VstInt32 opcode, VstInt32 index, VstIntPtr value, float opt) {
  if (!editor) return 0;
  VstKeyCode keyCode{index, static_cast<unsigned char>(value),
                     static_cast<unsigned char>(static_cast<int>(opt))};
  return flag(opcode == effEditKeyDown ? editor->onKeyDown(keyCode) : editor->onKeyUp(keyCode));
}

void AudioEffectX::resume() {
  char receivesMidi[] = "receiveVstMidiEvent";
  if (hasFlag(effFlagsIsSynth) || canDo(receivesMidi) == 1) wantEvents(1);
}

// --- Parameters and programs.
bool AudioEffectX::canParameterBeAutomated(VstInt32) { return true; }
bool AudioEffectX::string2parameter(VstInt32, char*) { return false; }
bool AudioEffectX::getParameterProperties(VstInt32, VstParameterProperties*) { return false; }
bool AudioEffectX::beginEdit(VstInt32 index) { return callHost(audioMasterBeginEdit, index) != 0; }
bool AudioEffectX::endEdit(VstInt32 index) { return callHost(audioMasterEndEdit, index) != 0; }
bool AudioEffectX::getProgramNameIndexed(VstInt32, VstInt32, char*) { return false; }
bool AudioEffectX::beginSetProgram() { return false; }
bool AudioEffectX::endSetProgram() { return false; }
VstInt32 AudioEffectX::beginLoadBank(VstPatchChunkInfo*) { return 0; }
VstInt32 AudioEffectX::beginLoadProgram(VstPatchChunkInfo*) { return 0; }

// --- Connections and configuration.
bool AudioEffectX::ioChanged() { return callHost(audioMasterIOChanged) != 0; }

double AudioEffectX::updateSampleRate() {
  const VstIntPtr answer = callHost(audioMasterGetSampleRate);
  if (answer > 0) sampleRate = static_cast<float>(answer);
  return sampleRate;
}

VstInt32 AudioEffectX::updateBlockSize() {
  const VstIntPtr answer = callHost(audioMasterGetBlockSize);
  if (answer > 0) blockSize = static_cast<VstInt32>(answer);
  return blockSize;
}

VstInt32 AudioEffectX::getInputLatency() {
  return static_cast<VstInt32>(callHost(audioMasterGetInputLatency));
}
VstInt32 AudioEffectX::getOutputLatency() {
  return static_cast<VstInt32>(callHost(audioMasterGetOutputLatency));
}
bool AudioEffectX::getInputProperties(VstInt32, VstPinProperties*) { return false; }
bool AudioEffectX::getOutputProperties(VstInt32, VstPinProperties*) { return false; }
bool AudioEffectX::setSpeakerArrangement(VstSpeakerArrangement*, VstSpeakerArrangement*) { return false; }

bool AudioEffectX::getSpeakerArrangement(VstSpeakerArrangement** pluginInput,
                                         VstSpeakerArrangement** pluginOutput) {
  if (pluginInput) *pluginInput = nullptr;
  if (pluginOutput) *pluginOutput = nullptr;
  return false;
}

bool AudioEffectX::setBypass(bool) { return false; }
bool AudioEffectX::setPanLaw(VstInt32, float) { return false; }
bool AudioEffectX::setProcessPrecision(VstInt32) { return false; }
VstInt32 AudioEffectX::getNumMidiInputChannels() { return 0; }
VstInt32 AudioEffectX::getNumMidiOutputChannels() { return 0; }

// --- Real time.
VstTimeInfo* AudioEffectX::getTimeInfo(VstInt32 filter) {
  return reinterpret_cast<VstTimeInfo*>(callHost(audioMasterGetTime, 0, filter));
}

VstInt32 AudioEffectX::getCurrentProcessLevel() {
  return static_cast<VstInt32>(callHost(audioMasterGetCurrentProcessLevel));
}

VstInt32 AudioEffectX::getAutomationState() {
  return static_cast<VstInt32>(callHost(audioMasterGetAutomationState));
}
VstInt32 AudioEffectX::processEvents(VstEvents*) { return 0; }
VstInt32 AudioEffectX::startProcess() { return 0; }
VstInt32 AudioEffectX::stopProcess() { return 0; }
bool AudioEffectX::processVariableIo(VstVariableIo*) { return false; }
VstInt32 AudioEffectX::setTotalSampleToProcess(VstInt32 value) { return value; }

// --- Host properties.
bool AudioEffectX::getHostVendorString(char* text) {
  return callHost(audioMasterGetVendorString, 0, 0, text) != 0;
}
bool AudioEffectX::getHostProductString(char* text) {
  return callHost(audioMasterGetProductString, 0, 0, text) != 0;
}
VstInt32 AudioEffectX::getHostVendorVersion() {
  return static_cast<VstInt32>(callHost(audioMasterGetVendorVersion));
}

VstIntPtr AudioEffectX::hostVendorSpecific(VstInt32 lArg1, VstIntPtr lArg2, void* ptrArg, float floatArg) {
  return callHost(audioMasterVendorSpecific, lArg1, lArg2, ptrArg, floatArg);
}

VstInt32 AudioEffectX::canHostDo(char* text) {
  return static_cast<VstInt32>(callHost(audioMasterCanDo, 0, 0, text));
}
VstInt32 AudioEffectX::getHostLanguage() { return static_cast<VstInt32>(callHost(audioMasterGetLanguage)); }

// --- Plug-in properties.
void AudioEffectX::isSynth(bool state) { setFlag(effFlagsIsSynth, state); }
void AudioEffectX::noTail(bool state) { setFlag(effFlagsNoSoundInStop, state); }
VstInt32 AudioEffectX::getGetTailSize() { return 0; }
void* AudioEffectX::getDirectory() { return reinterpret_cast<void*>(callHost(audioMasterGetDirectory)); }
bool AudioEffectX::getEffectName(char*) { return false; }
bool AudioEffectX::getVendorString(char*) { return false; }
bool AudioEffectX::getProductString(char*) { return false; }
VstInt32 AudioEffectX::getVendorVersion() { return 0; }
VstIntPtr AudioEffectX::vendorSpecific(VstInt32, VstIntPtr, void*, float) { return 0; }
VstInt32 AudioEffectX::canDo(char*) { return 0; }
VstInt32 AudioEffectX::getVstVersion() { return kVstVersion; }

VstPlugCategory AudioEffectX::getPlugCategory() {
  return hasFlag(effFlagsIsSynth) ? kPlugCategSynth : kPlugCategUnknown;
}

// --- MIDI programs.
VstInt32 AudioEffectX::getMidiProgramName(VstInt32, MidiProgramName*) { return 0; }
VstInt32 AudioEffectX::getCurrentMidiProgram(VstInt32, MidiProgramName*) { return -1; }
VstInt32 AudioEffectX::getMidiProgramCategory(VstInt32, MidiProgramCategory*) { return 0; }
bool AudioEffectX::hasMidiProgramsChanged(VstInt32) { return false; }
bool AudioEffectX::getMidiKeyName(VstInt32, MidiKeyName*) { return false; }

// --- Others.
bool AudioEffectX::updateDisplay() { return callHost(audioMasterUpdateDisplay) != 0; }
bool AudioEffectX::sizeWindow(VstInt32 width, VstInt32 height) {
  return callHost(audioMasterSizeWindow, width, height) != 0;
}
bool AudioEffectX::openFileSelector(VstFileSelect* ptr) {
  return ptr && callHost(audioMasterOpenFileSelector, 0, 0, ptr) != 0;
}
bool AudioEffectX::closeFileSelector(VstFileSelect* ptr) {
  return ptr && callHost(audioMasterCloseFileSelector, 0, 0, ptr) != 0;
}
VstInt32 AudioEffectX::getNextShellPlugin(char*) { return 0; }

// --- Speaker tools. Arrangements are allocated with calloc so that a host
// that frees them with the C library is not surprised.
bool AudioEffectX::allocateArrangement(VstSpeakerArrangement** arrangement, VstInt32 nbChannels) {
  deallocateArrangement(arrangement);
  const VstInt32 extra = nbChannels > 8 ? nbChannels - 8 : 0;
  const std::size_t size =
      sizeof(VstSpeakerArrangement) + static_cast<std::size_t>(extra) * sizeof(VstSpeakerProperties);
  auto* fresh = static_cast<VstSpeakerArrangement*>(std::calloc(1, size));
  if (!fresh) return false;
  fresh->numChannels = nbChannels;
  *arrangement = fresh;
  return true;
}

bool AudioEffectX::deallocateArrangement(VstSpeakerArrangement** arrangement) {
  if (*arrangement) {
    std::free(*arrangement);
    *arrangement = nullptr;
  }
  return true;
}

bool AudioEffectX::copySpeaker(VstSpeakerProperties* to, VstSpeakerProperties* from) {
  if (!to || !from) return false;
  *to = *from;
  return true;
}

bool AudioEffectX::matchArrangement(VstSpeakerArrangement** to, VstSpeakerArrangement* from) {
  if (!from || !allocateArrangement(to, from->numChannels)) return false;
  (*to)->type = from->type;
  for (VstInt32 channel = 0; channel < from->numChannels; ++channel) {
    copySpeaker(&(*to)->speakers[channel], &from->speakers[channel]);
  }
  return true;
}

// --- Legacy offline and host calls.
bool AudioEffectX::offlineRead(VstOfflineTask* offline, VstInt32 option, bool readSource) {
  return callHost(audioMasterOfflineRead, readSource, option, offline) != 0;
}
bool AudioEffectX::offlineWrite(VstOfflineTask* offline, VstInt32 option) {
  return callHost(audioMasterOfflineWrite, 0, option, offline) != 0;
}
bool AudioEffectX::offlineStart(VstAudioFile* ptr, VstInt32 numAudioFiles, VstInt32 numNewAudioFiles) {
  return callHost(audioMasterOfflineStart, numNewAudioFiles, numAudioFiles, ptr) != 0;
}
VstInt32 AudioEffectX::offlineGetCurrentPass() {
  return static_cast<VstInt32>(callHost(audioMasterOfflineGetCurrentPass));
}
VstInt32 AudioEffectX::offlineGetCurrentMetaPass() {
  return static_cast<VstInt32>(callHost(audioMasterOfflineGetCurrentMetaPass));
}
bool AudioEffectX::offlineNotify(VstAudioFile*, VstInt32, bool) { return false; }
bool AudioEffectX::offlinePrepare(VstOfflineTask*, VstInt32) { return false; }
bool AudioEffectX::offlineRun(VstOfflineTask*, VstInt32) { return false; }
VstInt32 AudioEffectX::offlineGetNumPasses() { return 0; }
VstInt32 AudioEffectX::offlineGetNumMetaPasses() { return 0; }
void AudioEffectX::wantEvents(VstInt32 filter) { callHost(audioMasterWantMidi, 0, filter); }
VstInt32 AudioEffectX::tempoAt(VstInt32 pos) {
  return static_cast<VstInt32>(callHost(audioMasterTempoAt, 0, pos));
}
VstInt32 AudioEffectX::getNumAutomatableParameters() {
  return static_cast<VstInt32>(callHost(audioMasterGetNumAutomatableParameters));
}
VstInt32 AudioEffectX::getParameterQuantization() {
  return static_cast<VstInt32>(callHost(audioMasterGetParameterQuantization));
}
VstInt32 AudioEffectX::getNumCategories() { return 1; }
bool AudioEffectX::copyProgram(VstInt32) { return false; }
bool AudioEffectX::needIdle() { return callHost(audioMasterNeedIdle) != 0; }
AEffect* AudioEffectX::getPreviousPlug(VstInt32 input) {
  return reinterpret_cast<AEffect*>(callHost(audioMasterGetPreviousPlug, input));
}
AEffect* AudioEffectX::getNextPlug(VstInt32 output) {
  return reinterpret_cast<AEffect*>(callHost(audioMasterGetNextPlug, output));
}
void AudioEffectX::inputConnected(VstInt32, bool) {}
void AudioEffectX::outputConnected(VstInt32, bool) {}
VstInt32 AudioEffectX::willProcessReplacing() {
  return static_cast<VstInt32>(callHost(audioMasterWillReplaceOrAccumulate));
}
void AudioEffectX::wantAsyncOperation(bool state) { setFlag(effFlagsExtIsAsync, state); }
void AudioEffectX::hasExternalBuffer(bool state) { setFlag(effFlagsExtHasBuffer, state); }
VstInt32 AudioEffectX::reportCurrentPosition() { return 0; }
float* AudioEffectX::reportDestinationBuffer() { return nullptr; }
void AudioEffectX::setOutputSamplerate(float samplerate) {
  callHost(audioMasterSetOutputSampleRate, 0, 0, nullptr, samplerate);
}
VstSpeakerArrangement* AudioEffectX::getInputSpeakerArrangement() {
  return reinterpret_cast<VstSpeakerArrangement*>(callHost(audioMasterGetInputSpeakerArrangement));
}
VstSpeakerArrangement* AudioEffectX::getOutputSpeakerArrangement() {
  return reinterpret_cast<VstSpeakerArrangement*>(callHost(audioMasterGetOutputSpeakerArrangement));
}
void* AudioEffectX::openWindow(VstWindow* window) {
  return reinterpret_cast<void*>(callHost(audioMasterOpenWindow, 0, 0, window));
}
bool AudioEffectX::closeWindow(VstWindow* window) {
  return callHost(audioMasterCloseWindow, 0, 0, window) != 0;
}

void AudioEffectX::setBlockSizeAndSampleRate(VstInt32 newBlockSize, float newSampleRate) {
  blockSize = newBlockSize;
  sampleRate = newSampleRate;
}

bool AudioEffectX::getErrorText(char*) { return false; }
void* AudioEffectX::getIcon() { return nullptr; }
bool AudioEffectX::setViewPosition(VstInt32, VstInt32) { return false; }
VstInt32 AudioEffectX::fxIdle() { return 0; }
bool AudioEffectX::keysRequired() { return false; }
void* AudioEffectX::getChunkFile(void* nativePath) {
  return reinterpret_cast<void*>(callHost(audioMasterGetChunkFile, 0, 0, nativePath));
}
