// The LV2 plug-in: the main effect behind LV2 ports, worker and state.
#pragma once

#include <lv2/core/lv2.h>
#include <lv2/state/state.h>
#include <lv2/worker/worker.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "host/HostCallback.h"
#include "host/HostedEffect.h"
#include "lv2/HostFeatures.h"
#include "lv2/HostLog.h"
#include "lv2/PresetSwitch.h"
#include "lv2/SoundState.h"

class ZrVelkoran;

// Creates the same main effect as the VST module, without editor, through
// its effect record with a host callback that reports the bundle as the
// module's directory (its archive lies there), and drives it as a VST host
// would: control ports become parameters before each block, the audio ports
// its one input and output. Threads are LV2's: each function names its
// class.
class Lv2Effect {
 public:
  enum Port : std::uint32_t { kPreGain, kPostGain, kPreBass, kPreset, kInput, kOutput, kPortCount };

  // Instantiation: null when the effect cannot be created.
  static std::unique_ptr<Lv2Effect> create(double sampleRate, const char* bundlePath,
                                           const LV2_Feature* const* features);
  ~Lv2Effect();
  Lv2Effect(const Lv2Effect&) = delete;
  Lv2Effect& operator=(const Lv2Effect&) = delete;

  // audio (connect_port may also come in the instantiation class).
  void connect(std::uint32_t port, void* data);
  // Instantiation: plays the sound the "Preset" port names, built here.
  void activate();
  // Instantiation: switched off, as a VST host switches it off.
  void deactivate();
  // audio: any length, 0 and longer than announced included; input and
  // output may be the same buffer.
  void run(std::uint32_t sampleCount);

  LV2_State_Status save(LV2_State_Store_Function store, LV2_State_Handle handle) const;
  LV2_State_Status restore(LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle);
  LV2_Worker_Status work(LV2_Worker_Respond_Function respond, LV2_Worker_Respond_Handle handle,
                         std::uint32_t size, const void* data);
  LV2_Worker_Status workResponse(std::uint32_t size, const void* data);

 private:
  Lv2Effect(double sampleRate, const char* bundlePath, const LV2_Feature* const* features);
  void applyControls();

  HostFeatures features;
  HostLog log;
  HostCallback callback;
  std::unique_ptr<HostedEffect> hosted;
  ZrVelkoran* effect = nullptr;
  std::unique_ptr<PresetSwitch> presets;
  SoundState state;
  std::array<const float*, kPreset + 1> controls{};
  // The first three parameters as last given to the effect.
  std::array<float, kPreset> applied{};
  const float* input = nullptr;
  float* output = nullptr;
  // After a restore the sound restored plays, whatever "Preset" value the
  // host puts back beside it (its number may name another sound in a
  // re-packed archive): the next block takes the port's value as seen.
  bool adoptPresetPort = false;
};
