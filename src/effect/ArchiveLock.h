// The process-wide lock that serialises use of the resource archive between
// effect instances: the archive handle is shared by all of them.
#pragma once

#include "platform/RecursiveLock.h"

// The lock itself; re-entrant, so a group of operations may hold it while
// each operation takes it again.
platform::RecursiveLock& archiveLock();

// Holds the archive lock for its own lifetime.
class ArchiveLockGuard {
 public:
  ArchiveLockGuard() { archiveLock().lock(); }
  ~ArchiveLockGuard() { archiveLock().unlock(); }
  ArchiveLockGuard(const ArchiveLockGuard&) = delete;
  ArchiveLockGuard& operator=(const ArchiveLockGuard&) = delete;
};
