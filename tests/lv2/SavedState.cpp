#include "SavedState.h"

LV2_State_Status SavedState::store(LV2_State_Handle handle, std::uint32_t key, const void* value,
                                   std::size_t size, std::uint32_t type, std::uint32_t) {
  static_cast<SavedState*>(handle)->set(key, type, std::string(static_cast<const char*>(value), size));
  return LV2_STATE_SUCCESS;
}

const void* SavedState::retrieve(LV2_State_Handle handle, std::uint32_t key, std::size_t* size,
                                 std::uint32_t* type, std::uint32_t* flags) {
  auto* self = static_cast<SavedState*>(handle);
  const auto found = self->values.find(key);
  if (found == self->values.end()) return nullptr;
  *size = found->second.bytes.size();
  *type = found->second.type;
  *flags = LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE;
  return found->second.bytes.data();
}

SavedState::Value SavedState::get(std::uint32_t key) const {
  const auto found = values.find(key);
  return found == values.end() ? Value{} : found->second;
}
