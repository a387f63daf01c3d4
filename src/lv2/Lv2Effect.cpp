#include "lv2/Lv2Effect.h"

#include <new>

#include "effect/ZrVelkoran.h"
#include "lv2/SameBits.h"

namespace {

// Hosts that announce no block length get what VST hosts commonly use; any
// length still plays (the engine runs long blocks in pieces).
constexpr VstInt32 kDefaultBlockLength = 1024;

// The bundle as the directory the host reports: ending in a separator.
std::string bundleDirectory(const char* bundlePath) {
  std::string directory = bundlePath ? bundlePath : "";
  if (!directory.empty() && directory.back() != '/') directory += '/';
  return directory;
}

}  // namespace

std::unique_ptr<Lv2Effect> Lv2Effect::create(double sampleRate, const char* bundlePath,
                                             const LV2_Feature* const* features) {
  try {
    return std::unique_ptr<Lv2Effect>(new Lv2Effect(sampleRate, bundlePath, features));
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

Lv2Effect::Lv2Effect(double sampleRate, const char* bundlePath, const LV2_Feature* const* features)
    : features(features), log(this->features.log(), this->features.map()), state(this->features.map()) {
  callback.setDirectory(bundleDirectory(bundlePath));
  {
    const HostCallback::EntryScope scope(callback);
    effect = new ZrVelkoran(&HostCallback::dispatch, nullptr);
  }
  callback.adopt(effect->getAeffect());
  hosted = std::make_unique<HostedEffect>(effect->getAeffect());
  hosted->open();
  const std::int32_t announced = this->features.maxBlockLength();
  hosted->configure(static_cast<float>(sampleRate), announced > 0 ? announced : kDefaultBlockLength);
  presets = std::make_unique<PresetSwitch>(effect->generic(), this->features.schedule());
  for (std::uint32_t index = kPreGain; index < kPreset; ++index) applied[index] = hosted->getParameter(index);
}

// The graphs the switch still holds go while the engine they were built for
// exists; then the effect is closed through its record.
Lv2Effect::~Lv2Effect() {
  presets.reset();
  hosted.reset();
}

void Lv2Effect::connect(std::uint32_t port, void* data) {
  if (port <= kPreset) {
    controls[port] = static_cast<const float*>(data);
  } else if (port == kInput) {
    input = static_cast<const float*>(data);
  } else if (port == kOutput) {
    output = static_cast<float*>(data);
  }
}

void Lv2Effect::activate() {
  if (controls[kPreset] && !adoptPresetPort) {
    const VstInt32 sound = presets->soundOf(*controls[kPreset]);
    if (sound >= 0) presets->playNow(sound);
    presets->adopt(*controls[kPreset]);
  }
  hosted->setMains(true);
}

void Lv2Effect::deactivate() { hosted->setMains(false); }

void Lv2Effect::run(std::uint32_t sampleCount) {
  applyControls();
  if (!input || !output) return;
  float* inputs[] = {const_cast<float*>(input)};
  float* outputs[] = {output};
  hosted->processReplacing(inputs, outputs, static_cast<VstInt32>(sampleCount));
}

void Lv2Effect::applyControls() {
  for (std::uint32_t index = kPreGain; index < kPreset; ++index) {
    if (!controls[index] || sameBits(*controls[index], applied[index])) continue;
    applied[index] = *controls[index];
    hosted->setParameter(static_cast<VstInt32>(index), applied[index]);
  }
  if (!controls[kPreset]) return;
  if (adoptPresetPort) {
    presets->adopt(*controls[kPreset]);
    adoptPresetPort = false;
  }
  presets->request(*controls[kPreset]);
}

LV2_State_Status Lv2Effect::save(LV2_State_Store_Function store, LV2_State_Handle handle) const {
  return state.save(store, handle, presets->wanted(), effect->descriptions());
}

LV2_State_Status Lv2Effect::restore(LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle) {
  const VstInt32 sound = state.restore(retrieve, handle, effect->descriptions(), log);
  if (sound < 0) return LV2_STATE_SUCCESS;
  if (!presets->playNow(sound)) {
    log.warning("Torvix Distortion: the saved sound \"%s\" cannot be built; the sound stays\n",
                effect->descriptions()[static_cast<std::size_t>(sound)].c_str());
    return LV2_STATE_SUCCESS;
  }
  adoptPresetPort = true;
  return LV2_STATE_SUCCESS;
}

LV2_Worker_Status Lv2Effect::work(LV2_Worker_Respond_Function respond, LV2_Worker_Respond_Handle handle,
                                  std::uint32_t size, const void* data) {
  return presets->work(respond, handle, size, data);
}

LV2_Worker_Status Lv2Effect::workResponse(std::uint32_t size, const void* data) {
  return presets->workResponse(size, data);
}
