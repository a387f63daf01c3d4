#include "lv2/PresetSwitch.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>

#include "effect/ZrVelkoranGeneric.h"
#include "lv2/SameBits.h"

// What the audio thread and the worker tell each other: plain data the host
// copies through its queues.
struct PresetSwitch::Message {
  enum Kind : std::int32_t { kBuild, kDispose, kBuilt };
  Kind kind;
  VstInt32 sound;
};

PresetSwitch::PresetSwitch(ZrVelkoranGeneric& engine, const LV2_Worker_Schedule* schedule)
    : engine(engine),
      workerSchedule(schedule),
      lastPortValue(std::numeric_limits<float>::quiet_NaN()),
      wantedSound(static_cast<VstInt32>(engine.getUserParameter(ZrVelkoranGeneric::kPreset))),
      playingSound(wantedSound.load()) {}

PresetSwitch::~PresetSwitch() {
  delete built.exchange(nullptr);
  delete retired.exchange(nullptr);
}

VstInt32 PresetSwitch::soundOf(float portValue) const {
  if (!std::isfinite(portValue)) return -1;
  const float whole = std::round(portValue);
  if (whole < 0.0f || whole >= static_cast<float>(engine.descriptions().size())) return -1;
  return static_cast<VstInt32>(whole);
}

bool PresetSwitch::playNow(VstInt32 sound) {
  if (sound != playing()) {
    std::unique_ptr<PreparedGraph> prepared = engine.prepareGraph(sound);
    if (!prepared) return false;
    const std::unique_ptr<PreparedGraph> replaced = engine.installGraph(std::move(prepared));
    playingSound = sound;
  }
  wantedSound = sound;
  return true;
}

void PresetSwitch::request(float portValue) {
  if (!workerSchedule) return;
  if (!sameBits(portValue, lastPortValue)) {
    lastPortValue = portValue;
    if (const VstInt32 sound = soundOf(portValue); sound >= 0) wantedSound = sound;
  }
  pump();
}

void PresetSwitch::pump() {
  if (retired.load() && !disposeScheduled.load()) {
    disposeScheduled = true;
    if (!schedule({Message::kDispose, 0})) disposeScheduled = false;
  }
  const VstInt32 sound = wanted();
  if (buildOutstanding.load() || sound == playing() || retired.load()) return;
  buildOutstanding = true;
  if (!schedule({Message::kBuild, sound})) buildOutstanding = false;
}

// A host whose queue is full refuses; the next block asks again.
bool PresetSwitch::schedule(const Message& message) {
  return workerSchedule->schedule_work(workerSchedule->handle, sizeof message, &message) ==
         LV2_WORKER_SUCCESS;
}

LV2_Worker_Status PresetSwitch::work(LV2_Worker_Respond_Function respond, LV2_Worker_Respond_Handle handle,
                                     std::uint32_t size, const void* data) {
  if (size != sizeof(Message)) return LV2_WORKER_ERR_UNKNOWN;
  Message message;
  std::memcpy(&message, data, sizeof message);
  if (message.kind == Message::kBuild) {
    build(message.sound, respond, handle);
  } else if (message.kind == Message::kDispose) {
    dispose();
  } else {
    return LV2_WORKER_ERR_UNKNOWN;
  }
  return LV2_WORKER_SUCCESS;
}

// The answer carries only the sound; the graph waits in built, so nothing is
// lost should the host never deliver it (the destructor frees it).
void PresetSwitch::build(VstInt32 sound, LV2_Worker_Respond_Function respond,
                         LV2_Worker_Respond_Handle handle) {
  delete built.exchange(engine.prepareGraph(sound).release());
  const Message answer{Message::kBuilt, sound};
  if (respond(handle, sizeof answer, &answer) != LV2_WORKER_SUCCESS) {
    delete built.exchange(nullptr);
    buildOutstanding = false;
  }
}

void PresetSwitch::dispose() {
  delete retired.exchange(nullptr);
  disposeScheduled = false;
}

LV2_Worker_Status PresetSwitch::workResponse(std::uint32_t size, const void* data) {
  if (size != sizeof(Message)) return LV2_WORKER_ERR_UNKNOWN;
  Message answer;
  std::memcpy(&answer, data, sizeof answer);
  if (answer.kind != Message::kBuilt) return LV2_WORKER_ERR_UNKNOWN;
  PreparedGraph* graph = built.exchange(nullptr);
  buildOutstanding = false;
  if (!graph) {
    // The description could not be built: the sound playing stays wanted,
    // rather than being asked for again every block.
    if (answer.sound == wanted()) wantedSound = playing();
    return LV2_WORKER_SUCCESS;
  }
  if (answer.sound != wanted() || answer.sound == playing()) {
    retire(graph);
    return LV2_WORKER_SUCCESS;
  }
  retire(engine.installGraph(std::unique_ptr<PreparedGraph>(graph)).release());
  playingSound = answer.sound;
  return LV2_WORKER_SUCCESS;
}

void PresetSwitch::retire(PreparedGraph* graph) {
  if (graph) retired.store(graph);
}
