// Flush-to-zero and denormals-are-zero for the span of one processing call.
#pragma once

#include <pmmintrin.h>
#include <xmmintrin.h>

namespace platform {

// Sets the SSE control register so that results below the smallest normal float become zero
// (FTZ) and such inputs read as zero (DAZ), and masks every floating-point exception so that
// a host's unmasked traps cannot fire inside the audio path; restores the caller's register,
// flags included, on destruction. The decaying tails of the filters then reach exact zero
// instead of crawling through subnormal numbers, which cost many times a normal operation.
// Only values below the smallest normal float change. Same code on every target: SSE2 is
// the floating-point unit of each (the 32-bit build uses -mfpmath=sse).
class DenormalGuard {
 public:
  DenormalGuard() : saved(_mm_getcsr()) {
    _mm_setcsr(saved | _MM_FLUSH_ZERO_ON | _MM_DENORMALS_ZERO_ON | _MM_MASK_MASK);
  }
  ~DenormalGuard() { _mm_setcsr(saved); }
  DenormalGuard(const DenormalGuard&) = delete;
  DenormalGuard& operator=(const DenormalGuard&) = delete;

 private:
  unsigned int saved;
};

}  // namespace platform
