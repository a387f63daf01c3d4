#include "platform/RecursiveLock.h"

#include <windows.h>

namespace platform {

struct RecursiveLock::Impl {
  CRITICAL_SECTION section;
};

RecursiveLock::RecursiveLock() : impl(new Impl) { InitializeCriticalSection(&impl->section); }

RecursiveLock::~RecursiveLock() {
  DeleteCriticalSection(&impl->section);
  delete impl;
}

void RecursiveLock::lock() { EnterCriticalSection(&impl->section); }
void RecursiveLock::unlock() { LeaveCriticalSection(&impl->section); }

}  // namespace platform
