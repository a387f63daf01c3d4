#include "AllocationFailure.h"

#include <cstdlib>
#include <new>

#include "AllocationCount.h"

namespace {

// Allocations still granted on this thread; negative while no failure is
// armed.
thread_local long remaining = -1;
thread_local bool refused = false;

void* allocate(std::size_t size) noexcept {
  AllocationCount::note();
  if (remaining == 0) {
    refused = true;
    return nullptr;
  }
  if (remaining > 0) --remaining;
  return std::malloc(size == 0 ? 1 : size);
}

}  // namespace

AllocationFailure::AllocationFailure(long allowed) {
  remaining = allowed;
  refused = false;
}

AllocationFailure::~AllocationFailure() { remaining = -1; }

bool AllocationFailure::struck() const { return refused; }

void* operator new(std::size_t size) {
  if (void* memory = allocate(size)) return memory;
  throw std::bad_alloc();
}

void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
