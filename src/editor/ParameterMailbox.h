// Parameter values on their way from any thread to the editor's GUI thread.
#pragma once

#include <atomic>
#include <cstddef>
#include <memory>
#include <optional>

#include "frame/VstInterface.h"

// One slot per parameter: the latest value and whether the GUI thread has
// read it yet. Posting is lock-free and allocates nothing, so the host's
// audio thread may post; a burst of posts leaves only the latest value.
// Any number of threads may post; one thread (the GUI's) takes.
class ParameterMailbox {
 public:
  explicit ParameterMailbox(std::size_t parameterCount);

  // Any thread: leaves value as the parameter's latest; an index outside
  // the parameters is ignored.
  void post(VstInt32 index, float value);
  // GUI thread: the latest value posted since the last take, if any.
  std::optional<float> take(VstInt32 index);

  std::size_t size() const { return count; }

 private:
  struct Slot {
    std::atomic<float> value{0.0f};
    std::atomic<bool> unread{false};
  };
  static_assert(std::atomic<float>::is_always_lock_free && std::atomic<bool>::is_always_lock_free);

  Slot* slot(VstInt32 index) const;

  std::size_t count;
  std::unique_ptr<Slot[]> slots;
};
