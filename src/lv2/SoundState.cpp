#include "lv2/SoundState.h"

#include <lv2/atom/atom.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "lv2/HostLog.h"

namespace {
constexpr const char* kNameKey = "urn:brelvanix:torvix-distortion#sound";
constexpr const char* kIndexKey = "urn:brelvanix:torvix-distortion#soundIndex";
constexpr std::uint32_t kPortableValue = LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE;
}  // namespace

SoundState::SoundState(const LV2_URID_Map* map) : mapped(map != nullptr) {
  if (!map) return;
  nameKey = map->map(map->handle, kNameKey);
  indexKey = map->map(map->handle, kIndexKey);
  stringType = map->map(map->handle, LV2_ATOM__String);
  intType = map->map(map->handle, LV2_ATOM__Int);
}

LV2_State_Status SoundState::save(LV2_State_Store_Function store, LV2_State_Handle handle, VstInt32 sound,
                                  const std::vector<std::string>& names) const {
  if (!mapped) return LV2_STATE_ERR_NO_FEATURE;
  if (sound < 0 || static_cast<std::size_t>(sound) >= names.size()) return LV2_STATE_SUCCESS;
  const std::string& name = names[static_cast<std::size_t>(sound)];
  // An atom:String's size counts its terminating null.
  const LV2_State_Status status =
      store(handle, nameKey, name.c_str(), name.size() + 1, stringType, kPortableValue);
  if (status != LV2_STATE_SUCCESS) return status;
  const std::int32_t index = sound;
  return store(handle, indexKey, &index, sizeof index, intType, kPortableValue);
}

VstInt32 SoundState::restore(LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle,
                             const std::vector<std::string>& names, const HostLog& log) const {
  if (!mapped) return -1;
  std::string name;
  const bool named = savedName(retrieve, handle, name);
  if (named) {
    const auto found = std::find(names.begin(), names.end(), name);
    if (found != names.end()) return static_cast<VstInt32>(found - names.begin());
  }
  VstInt32 index = -1;
  const bool indexed =
      savedIndex(retrieve, handle, index) && index >= 0 && static_cast<std::size_t>(index) < names.size();
  if (!named && !indexed) return -1;
  if (!indexed) {
    log.warning("Torvix Distortion: the saved sound \"%s\" is not in the archive; the sound stays\n",
                name.c_str());
    return -1;
  }
  log.warning("Torvix Distortion: the saved sound \"%s\" is not in the archive; playing number %d, \"%s\"\n",
              named ? name.c_str() : "", static_cast<int>(index),
              names[static_cast<std::size_t>(index)].c_str());
  return index;
}

bool SoundState::savedName(LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle,
                           std::string& name) const {
  std::size_t size = 0;
  std::uint32_t type = 0;
  std::uint32_t flags = 0;
  const void* value = retrieve(handle, nameKey, &size, &type, &flags);
  if (!value || type != stringType || size == 0) return false;
  const char* text = static_cast<const char*>(value);
  name.assign(text, strnlen(text, size));
  return true;
}

bool SoundState::savedIndex(LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle,
                            VstInt32& index) const {
  std::size_t size = 0;
  std::uint32_t type = 0;
  std::uint32_t flags = 0;
  const void* value = retrieve(handle, indexKey, &size, &type, &flags);
  if (!value || type != intType || size != sizeof(std::int32_t)) return false;
  std::int32_t saved = 0;
  std::memcpy(&saved, value, sizeof saved);
  index = saved;
  return true;
}
