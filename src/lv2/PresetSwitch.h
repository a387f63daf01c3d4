// "Preset" changes of the LV2 plug-in, built on the host's worker thread.
#pragma once

#include <lv2/worker/worker.h>

#include <atomic>
#include <cstdint>

#include "effect/PreparedGraph.h"
#include "frame/VstInterface.h"

class ZrVelkoranGeneric;

// The audio thread asks for a sound; the worker builds it (prepareGraph);
// the audio thread swaps it in (installGraph) when the worker answers, and
// the old sound plays until then. The replaced graph, and a built one that
// a later request made stale, go back to the worker to be destroyed: the
// audio thread never builds or frees a graph. One build is outstanding at a
// time; the latest request wins. Without a worker, a sound changes only
// where building is allowed (playNow).
class PresetSwitch {
 public:
  // schedule may be null (no worker feature).
  PresetSwitch(ZrVelkoranGeneric& engine, const LV2_Worker_Schedule* schedule);
  // Instantiation: destroys the graphs still held.
  ~PresetSwitch();
  PresetSwitch(const PresetSwitch&) = delete;
  PresetSwitch& operator=(const PresetSwitch&) = delete;

  // The sound a "Preset" port value names: its nearest whole number when
  // that is a listed description, else -1.
  VstInt32 soundOf(float portValue) const;

  // Instantiation (activate, restore): sound plays from now on and is the
  // one wanted; unless it plays already it is built and installed here,
  // and the replaced graph destroyed here. False, changing nothing, when
  // the sound cannot be built.
  bool playNow(VstInt32 sound);

  // audio: this block's "Preset" port value. A changed value that names a
  // sound becomes the one wanted; then retired graphs go to the worker and,
  // when none is outstanding, the build of the wanted sound is asked for.
  // Allocates and frees nothing; does nothing without a worker.
  void request(float portValue);

  // audio: takes portValue as seen without asking for its sound (after a
  // restore, whose sound wins over the number the host puts back).
  void adopt(float portValue) { lastPortValue = portValue; }

  // worker: builds a sound or destroys retired graphs, as asked by message.
  LV2_Worker_Status work(LV2_Worker_Respond_Function respond, LV2_Worker_Respond_Handle handle,
                         std::uint32_t size, const void* data);
  // audio: a build is done: swaps it in if it is still the one wanted, else
  // retires it. Allocates and frees nothing.
  LV2_Worker_Status workResponse(std::uint32_t size, const void* data);

  // Any thread: the sound asked for last (playing, or being built).
  VstInt32 wanted() const { return wantedSound.load(std::memory_order_relaxed); }
  // Any thread: the sound playing.
  VstInt32 playing() const { return playingSound.load(std::memory_order_relaxed); }

 private:
  struct Message;

  void pump();
  bool schedule(const Message& message);
  void retire(PreparedGraph* graph);
  void build(VstInt32 sound, LV2_Worker_Respond_Function respond, LV2_Worker_Respond_Handle handle);
  void dispose();

  ZrVelkoranGeneric& engine;
  const LV2_Worker_Schedule* workerSchedule;
  // The last port value seen (its bits), so an unchanged value asks nothing.
  float lastPortValue;
  std::atomic<VstInt32> wantedSound;
  std::atomic<VstInt32> playingSound;
  // Set by the audio thread when it asks for a build, cleared when the
  // answer arrives (or by the worker when it could not answer).
  std::atomic<bool> buildOutstanding{false};
  // Set by the audio thread when it sends the retired graph to the worker,
  // cleared by the worker once it is destroyed.
  std::atomic<bool> disposeScheduled{false};
  // The graph the worker built, until the audio thread takes it.
  std::atomic<PreparedGraph*> built{nullptr};
  // A graph the audio thread no longer plays, until the worker destroys it.
  // A build is asked for only while it is empty, so an answer always finds
  // it empty.
  std::atomic<PreparedGraph*> retired{nullptr};
};
