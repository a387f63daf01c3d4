// The operating-system services that the GUI editor's idle step paces itself
// with: the tick count, sleeping and the pending-paint pump.
#pragma once

#include <cstdint>

// Behind an interface so that tests can script time and count the waits.
// Everything runs on the host's GUI thread.
class IdleServices {
 public:
  virtual ~IdleServices() = default;

  // Milliseconds since an arbitrary start, wrapping at 2^32.
  virtual std::uint32_t tickCount() = 0;
  virtual void sleepMilliseconds(std::uint32_t milliseconds) = 0;
  // Serves one pending paint request of the calling thread, if there is one.
  virtual void dispatchPendingPaint() = 0;

  // The operating system's services (src/platform/).
  static IdleServices& system();
};
