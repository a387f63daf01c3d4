#include "AllocationCount.h"

namespace {
thread_local long made = 0;
}  // namespace

AllocationCount::AllocationCount() : start(made) {}

long AllocationCount::allocations() const { return made - start; }

void AllocationCount::note() { ++made; }
