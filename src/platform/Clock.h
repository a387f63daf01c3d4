// Millisecond clock and sleep of the operating system.
#pragma once

#include <cstdint>

namespace platform {

// Milliseconds since an arbitrary start, wrapping at 2^32.
std::uint32_t tickCount();

// Suspends the calling thread for the given number of milliseconds.
void sleepMilliseconds(std::uint32_t milliseconds);

}  // namespace platform
