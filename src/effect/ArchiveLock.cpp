#include "effect/ArchiveLock.h"

platform::RecursiveLock& archiveLock() {
  static platform::RecursiveLock lock;
  return lock;
}
