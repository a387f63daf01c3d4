// The module's LV2 entry: lv2_descriptor and the C functions of the
// descriptor, the worker and the state interfaces, each reaching the
// Lv2Effect of its instance. No exception crosses them.
#include <lv2/core/lv2.h>
#include <lv2/state/state.h>
#include <lv2/worker/worker.h>

#include <cstring>

#include "lv2/Lv2Effect.h"

namespace {

constexpr const char* kPluginUri = "urn:brelvanix:torvix-distortion";

Lv2Effect* effectOf(LV2_Handle instance) { return static_cast<Lv2Effect*>(instance); }

LV2_Handle instantiate(const LV2_Descriptor*, double sampleRate, const char* bundlePath,
                       const LV2_Feature* const* features) {
  try {
    return Lv2Effect::create(sampleRate, bundlePath, features).release();
  } catch (...) {
    return nullptr;
  }
}

void connectPort(LV2_Handle instance, uint32_t port, void* data) { effectOf(instance)->connect(port, data); }

void activate(LV2_Handle instance) {
  try {
    effectOf(instance)->activate();
  } catch (...) {
    // Out of memory while building the sound: the one before plays on.
  }
}

void run(LV2_Handle instance, uint32_t sampleCount) { effectOf(instance)->run(sampleCount); }

void deactivate(LV2_Handle instance) { effectOf(instance)->deactivate(); }

void cleanup(LV2_Handle instance) { delete effectOf(instance); }

LV2_Worker_Status work(LV2_Handle instance, LV2_Worker_Respond_Function respond,
                       LV2_Worker_Respond_Handle handle, uint32_t size, const void* data) {
  try {
    return effectOf(instance)->work(respond, handle, size, data);
  } catch (...) {
    return LV2_WORKER_ERR_UNKNOWN;
  }
}

LV2_Worker_Status workResponse(LV2_Handle instance, uint32_t size, const void* data) {
  return effectOf(instance)->workResponse(size, data);
}

LV2_State_Status save(LV2_Handle instance, LV2_State_Store_Function store, LV2_State_Handle handle, uint32_t,
                      const LV2_Feature* const*) {
  try {
    return effectOf(instance)->save(store, handle);
  } catch (...) {
    return LV2_STATE_ERR_UNKNOWN;
  }
}

LV2_State_Status restore(LV2_Handle instance, LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle,
                         uint32_t, const LV2_Feature* const*) {
  try {
    return effectOf(instance)->restore(retrieve, handle);
  } catch (...) {
    return LV2_STATE_ERR_UNKNOWN;
  }
}

const LV2_Worker_Interface kWorker = {work, workResponse, nullptr};
const LV2_State_Interface kState = {save, restore};

const void* extensionData(const char* uri) {
  if (std::strcmp(uri, LV2_WORKER__interface) == 0) return &kWorker;
  if (std::strcmp(uri, LV2_STATE__interface) == 0) return &kState;
  return nullptr;
}

const LV2_Descriptor kDescriptor = {kPluginUri, instantiate, connectPort, activate,
                                    run,        deactivate,  cleanup,     extensionData};

}  // namespace

extern "C" __attribute__((visibility("default"))) const LV2_Descriptor* lv2_descriptor(uint32_t index) {
  return index == 0 ? &kDescriptor : nullptr;
}
