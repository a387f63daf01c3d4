#include "platform/RecursiveLock.h"

#include <mutex>

namespace platform {

struct RecursiveLock::Impl {
  std::recursive_mutex mutex;
};

RecursiveLock::RecursiveLock() : impl(new Impl) {}
RecursiveLock::~RecursiveLock() { delete impl; }
void RecursiveLock::lock() { impl->mutex.lock(); }
void RecursiveLock::unlock() { impl->mutex.unlock(); }

}  // namespace platform
