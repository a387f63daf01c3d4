// The LV2 state of the plug-in: which sound plays.
#pragma once

#include <lv2/state/state.h>
#include <lv2/urid/urid.h>

#include <string>
#include <vector>

#include "frame/VstInterface.h"

class HostLog;

// Saves the sound as its description's name and its index in the list.
// Restoring finds the name in the archive's list, so a session keeps its
// sound when the archive is packed again with other sounds; a name the
// list lacks falls back to the saved index, and the host's log says so.
class SoundState {
 public:
  // Without a URID map nothing is saved or restored.
  explicit SoundState(const LV2_URID_Map* map);

  // Any thread but audio (may run beside it).
  LV2_State_Status save(LV2_State_Store_Function store, LV2_State_Handle handle, VstInt32 sound,
                        const std::vector<std::string>& names) const;
  // Instantiation: the sound the state names in names, or -1 (reported to
  // log) when it names none.
  VstInt32 restore(LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle,
                   const std::vector<std::string>& names, const HostLog& log) const;

 private:
  bool savedName(LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle, std::string& name) const;
  bool savedIndex(LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle, VstInt32& index) const;

  bool mapped = false;
  LV2_URID nameKey = 0;
  LV2_URID indexKey = 0;
  LV2_URID stringType = 0;
  LV2_URID intType = 0;
};
