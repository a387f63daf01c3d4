#include "effect/ZrVelkoran.h"

#include <cstdio>
#include <cstring>

#include "editor/VelkoranEditor.h"
#include "effect/ModuleDirectory.h"
#include "effect/ModuleDirectoryPath.h"
#include "frame/TextCopy.h"
#include "platform/ModulePath.h"

namespace {
constexpr const char* kName = "TorvixDistortion";
constexpr const char* kVendor = "Brelvanix";
constexpr const char* kInitialProgramName = "Init";
}  // namespace

VelkoranEditor* ZrVelkoran::pluginEditor(ZrVelkoran& effect) {
  return new VelkoranEditor(&effect, &effect.descriptions());
}

ZrVelkoran::ZrVelkoran(audioMasterCallback audioMaster, EditorFactory makeEditor)
    : AudioEffectX(audioMaster, 1, 4), programs(1), hostQuirks(HostQuirks::askHostOf(*this)) {
  copyText(programs[0].name, kInitialProgramName, sizeof programs[0].name);
  curProgram = 0;
  hasVu();
  canMono();
  noTail();
  setNumInputs(1);
  setNumOutputs(1);
  setUniqueID(CCONST('K', 'w', 'r', 'x'));
  findModuleDirectory();
  engine = std::make_unique<VelkoranWin>();
  if (makeEditor) ownEditor = makeEditor(*this);
  AudioEffectX::resume();
}

ZrVelkoran::~ZrVelkoran() = default;

void ZrVelkoran::findModuleDirectory() {
  const char* hostDirectory = static_cast<const char*>(getDirectory());
  const std::string path =
      hostDirectory && *hostDirectory ? std::string(hostDirectory) : platform::moduleFileName();
  setModuleDirectory(moduleDirectoryFromPath(path, platform::pathSeparator(), platform::moduleExtension()));
}

namespace {

// Requests about this effect's own parameter texts, programs and chunks. The
// processors inside the graph must not take them: a value typed for "Pre
// gain" is not a delay time, and program 0, which hosts select routinely on
// load, would restart every delay line of the graph.
bool belongsToMainEffect(VstInt32 opcode) {
  switch (opcode) {
    case effString2Parameter:
    case effSetProgram:
    case effSetProgramName:
    case effBeginSetProgram:
    case effEndSetProgram:
    case effSetChunk:
    case effBeginLoadBank:
    case effBeginLoadProgram:
      return true;
    default:
      return false;
  }
}

}  // namespace

VstIntPtr ZrVelkoran::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
  if (!belongsToMainEffect(opcode)) engine->forwardToProcessors(opcode, index, value, ptr, opt);
  return AudioEffectX::dispatcher(opcode, index, value, ptr, opt);
}

void ZrVelkoran::processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) {
  process(inputs, outputs, sampleFrames);
}

void ZrVelkoran::process(float** inputs, float** outputs, VstInt32 sampleFrames) {
  engine->processReplacing(inputs, outputs, sampleFrames);
}

void ZrVelkoran::setParameter(VstInt32 index, float value) {
  if (index == ZrVelkoranGeneric::kPreset) {
    engine->selectDescription(value);
  } else {
    const VelkoranWin::EngineLock guard(*engine);
    engine->setUserParameter(index, value);
  }
  if (ownEditor) ownEditor->setParameter(index, value);
}

float ZrVelkoran::getParameter(VstInt32 index) { return engine->getUserParameter(index); }

void ZrVelkoran::getParameterDisplay(VstInt32 index, char* text) {
  engine->getUserParameterDisplay(index, text);
}

void ZrVelkoran::getParameterName(VstInt32 index, char* text) {
  if (index == ZrVelkoranGeneric::kPreset) {
    copyText(text, "Preset", kVstMaxNameLen);
  } else {
    engine->getUserParameterName(index, text);
  }
}

void ZrVelkoran::setProgram(VstInt32 program) { curProgram = program; }

void ZrVelkoran::setProgramName(char* name) { copyText(programs[0].name, name, sizeof programs[0].name); }

void ZrVelkoran::getProgramName(char* name) {
  const char* stored = programs[0].name;
  if (std::strcmp(stored, kInitialProgramName) == 0) {
    std::snprintf(name, kVstMaxProgNameLen, "%s %d", stored, static_cast<int>(curProgram + 1));
  } else {
    copyText(name, stored, kVstMaxProgNameLen);
  }
}

bool ZrVelkoran::getProgramNameIndexed(VstInt32, VstInt32 index, char* text) {
  if (index != 0) return false;
  copyText(text, programs[0].name, kVstMaxProgNameLen);
  return true;
}

bool ZrVelkoran::getParameterProperties(VstInt32 index, VstParameterProperties* properties) {
  const std::size_t count = engine->descriptions().size();
  if (index != ZrVelkoranGeneric::kPreset || count == 0 || !properties) return false;
  *properties = VstParameterProperties{};
  properties->flags = kVstParameterUsesIntegerMinMax | kVstParameterUsesIntStep;
  properties->minInteger = 0;
  properties->maxInteger = static_cast<VstInt32>(count - 1);
  properties->stepInteger = 1;
  properties->largeStepInteger = 1;
  copyText(properties->label, "Preset", kVstMaxLabelLen);
  copyText(properties->shortLabel, "Preset", kVstMaxShortLabelLen);
  presetRangeKnown = true;
  return true;
}

// A "Preset" value is a description index (3.0 for the fourth sound). A host
// that has not asked for Preset's properties takes every parameter for 0..1:
// Ardour, for one, keeps a reported 3.0 as 1.0 and plays back
// setParameter(3, 1.0), the second sound instead of the fourth; and a scaled
// value (3 / (N - 1)) would be played back as index 0. Such a host is
// therefore told nothing of a Preset edit, neither the bracket (in touch mode
// it would record its old value for the edit's length) nor the value; it is
// only asked to read the displays again, so it can show the new sound's name.
bool ZrVelkoran::hostIsToldOf(VstInt32 index) const {
  return index != ZrVelkoranGeneric::kPreset || presetRangeKnown;
}

bool ZrVelkoran::hostGetsEditBracket(VstInt32 index) const {
  return hostIsToldOf(index) && hostQuirks.sendsEditBracket();
}

bool ZrVelkoran::beginEdit(VstInt32 index) { return hostGetsEditBracket(index) && AudioEffectX::beginEdit(index); }

void ZrVelkoran::setParameterAutomated(VstInt32 index, float value) {
  if (hostIsToldOf(index)) {
    AudioEffectX::setParameterAutomated(index, value);
  } else {
    setParameter(index, value);
    updateDisplay();
  }
}

bool ZrVelkoran::endEdit(VstInt32 index) { return hostGetsEditBracket(index) && AudioEffectX::endEdit(index); }

bool ZrVelkoran::getEffectName(char* name) {
  copyText(name, kName, kVstMaxEffectNameLen);
  return true;
}

bool ZrVelkoran::getVendorString(char* text) {
  copyText(text, kVendor, kVstMaxVendorStrLen);
  return true;
}

bool ZrVelkoran::getProductString(char* text) {
  copyText(text, kName, kVstMaxProductStrLen);
  return true;
}

VstInt32 ZrVelkoran::getVendorVersion() { return 1100; }

VstInt32 ZrVelkoran::getGetTailSize() { return 1000; }

VstPlugCategory ZrVelkoran::getPlugCategory() { return kPlugCategEffect; }
