// The engine with its lock.
#pragma once

#include "effect/ZrVelkoranGeneric.h"
#include "platform/RecursiveLock.h"

// The platform engine: the generic engine over the platform layer's
// re-entrant lock (a critical section on Windows, a recursive mutex
// elsewhere), so one class serves every platform. Construction lists the
// descriptions, builds graph 0 and loads the input-filter presets.
class VelkoranWin : public ZrVelkoranGeneric {
 public:
  VelkoranWin();

  // Any thread.
  void lock() override;
  void unlock() override;

 private:
  platform::RecursiveLock engineLock;
};
