// The effect that the host sees.
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "effect/HostQuirks.h"
#include "effect/VelkoranWin.h"
#include "frame/AudioEffectX.h"

class VelkoranEditor;

// Four parameters ("Pre gain", "Post gain", "Pre bass", "Preset") and one
// program. Every block and parameter change goes to the engine; every host
// request reaches the engine's processors before the effect answers it.
// Thread marks as in AudioEffect.
class ZrVelkoran : public AudioEffectX {
 public:
  // Makes the editor the effect owns (through the base, like every editor).
  using EditorFactory = VelkoranEditor* (*)(ZrVelkoran& effect);
  // The plug-in's own editor, as the VST module shows it.
  static VelkoranEditor* pluginEditor(ZrVelkoran& effect);

  // Throws std::bad_alloc when the engine's buffers cannot be allocated;
  // the factory then creates no effect. A null makeEditor gives an effect
  // without editor (the LV2 DSP module: its editor runs in a UI module of
  // its own and reaches the effect through ports).
  explicit ZrVelkoran(audioMasterCallback audioMaster, EditorFactory makeEditor = pluginEditor);
  ~ZrVelkoran() override;

  // host: forwards the request to the engine's processors, then answers it.
  // Requests about parameter texts, programs and chunks are this effect's
  // alone and are not forwarded.
  VstIntPtr dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) override;

  // audio: both entries replace the output block.
  void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) override;
  void process(float** inputs, float** outputs, VstInt32 sampleFrames) override;

  // host or GUI: under the engine lock, but for "Preset", whose build takes
  // no lock that the audio thread takes (only its swap does); the editor hears
  // of the change once the engine has it.
  void setParameter(VstInt32 index, float value) override;
  // Any thread, no lock.
  float getParameter(VstInt32 index) override;
  void getParameterDisplay(VstInt32 index, char* text) override;
  void getParameterName(VstInt32 index, char* text) override;

  // host: the single program "Init".
  void setProgram(VstInt32 program) override;
  void setProgramName(char* name) override;
  void getProgramName(char* name) override;
  bool getProgramNameIndexed(VstInt32 category, VstInt32 index, char* text) override;

  // host: "Preset" is described as the whole numbers 0 to N - 1 (N
  // descriptions); the others keep the default 0..1 and answer false.
  bool getParameterProperties(VstInt32 index, VstParameterProperties* properties) override;

  // GUI: an edit in the editor, reported to the host as beginEdit, one or
  // more setParameterAutomated, endEdit. A "Preset" edit reaches the host
  // only when it has asked for Preset's properties (see the source); hosts
  // that crash on the bracket get the values alone (HostQuirks).
  bool beginEdit(VstInt32 index) override;
  void setParameterAutomated(VstInt32 index, float value) override;
  bool endEdit(VstInt32 index) override;

  // Any thread: identity.
  bool getEffectName(char* name) override;
  bool getVendorString(char* text) override;
  bool getProductString(char* text) override;
  VstInt32 getVendorVersion() override;
  VstInt32 getGetTailSize() override;
  VstPlugCategory getPlugCategory() override;

  // The engine's graph descriptions, for the editor's preset menu.
  const std::vector<std::string>& descriptions() const { return engine->descriptions(); }
  // The engine, for adapters that build a "Preset" change on a thread of
  // their own (prepareGraph) and swap it in on the audio thread
  // (installGraph).
  ZrVelkoranGeneric& generic() { return *engine; }

 private:
  struct Program {
    char name[kVstMaxProgNameLen];
  };

  void findModuleDirectory();
  bool hostIsToldOf(VstInt32 index) const;
  bool hostGetsEditBracket(VstInt32 index) const;

  std::unique_ptr<VelkoranWin> engine;
  std::vector<Program> programs;
  // The editor, owned through the base like every editor; null when made
  // without one.
  VelkoranEditor* ownEditor = nullptr;
  // Set once the host has asked for Preset's properties and so knows that
  // its values are description indices (host thread; read on the GUI thread).
  std::atomic<bool> presetRangeKnown{false};
  // Asked of the host once, at construction.
  const HostQuirks hostQuirks;
};
