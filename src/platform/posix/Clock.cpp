#include "platform/Clock.h"

#include <time.h>

namespace platform {

std::uint32_t tickCount() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  const std::uint64_t milliseconds =
      static_cast<std::uint64_t>(now.tv_sec) * 1000u + static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
  return static_cast<std::uint32_t>(milliseconds);
}

void sleepMilliseconds(std::uint32_t milliseconds) {
  timespec interval{static_cast<time_t>(milliseconds / 1000u),
                    static_cast<long>(milliseconds % 1000u) * 1000000L};
  while (nanosleep(&interval, &interval) != 0) {
  }
}

}  // namespace platform
