#include "editor/ParameterMailbox.h"

ParameterMailbox::ParameterMailbox(std::size_t parameterCount)
    : count(parameterCount), slots(std::make_unique<Slot[]>(parameterCount)) {}

ParameterMailbox::Slot* ParameterMailbox::slot(VstInt32 index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= count) return nullptr;
  return &slots[static_cast<std::size_t>(index)];
}

// The value is stored before the flag is raised, and the taker lowers the
// flag before it reads the value: a post that races with a take raises the
// flag again, so its value is taken at the latest on the next take.
void ParameterMailbox::post(VstInt32 index, float value) {
  if (Slot* target = slot(index)) {
    target->value.store(value, std::memory_order_relaxed);
    target->unread.store(true, std::memory_order_release);
  }
}

std::optional<float> ParameterMailbox::take(VstInt32 index) {
  Slot* source = slot(index);
  if (!source || !source->unread.exchange(false, std::memory_order_acquire)) return std::nullopt;
  return source->value.load(std::memory_order_relaxed);
}
