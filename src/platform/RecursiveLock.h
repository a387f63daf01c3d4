// A lock that the thread holding it may take again.
#pragma once

namespace platform {

// Re-entrant mutual exclusion (a critical section on Windows, a recursive
// mutex elsewhere). Construction allocates; lock and unlock do not.
class RecursiveLock {
 public:
  RecursiveLock();
  ~RecursiveLock();
  RecursiveLock(const RecursiveLock&) = delete;
  RecursiveLock& operator=(const RecursiveLock&) = delete;

  void lock();
  void unlock();

 private:
  struct Impl;
  Impl* impl;
};

}  // namespace platform
