// The properties an LV2 plug-in saves, kept as a host keeps them.
#pragma once

#include <lv2/state/state.h>

#include <cstdint>
#include <map>
#include <string>

class SavedState {
 public:
  struct Value {
    std::uint32_t type = 0;
    std::string bytes;
  };

  // The host side of save() and restore().
  static LV2_State_Status store(LV2_State_Handle handle, std::uint32_t key, const void* value,
                                std::size_t size, std::uint32_t type, std::uint32_t flags);
  static const void* retrieve(LV2_State_Handle handle, std::uint32_t key, std::size_t* size,
                              std::uint32_t* type, std::uint32_t* flags);

  void set(std::uint32_t key, std::uint32_t type, std::string bytes) {
    values[key] = {type, std::move(bytes)};
  }
  // The value under key, empty type 0 when none.
  Value get(std::uint32_t key) const;
  const std::map<std::uint32_t, Value>& all() const { return values; }

 private:
  std::map<std::uint32_t, Value> values;
};
