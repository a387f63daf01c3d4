#include "effect/ArchiveSession.h"

#include "effect/ArchiveLock.h"
#include "effect/ResourceArchive.h"

namespace {
// Sessions open on the thread that holds the archive lock; only it touches
// the count.
int sessionDepth = 0;
}  // namespace

ArchiveSession::ArchiveSession() {
  archiveLock().lock();
  ++sessionDepth;
  try {
    open = openArchive();
  } catch (...) {
    // Memory ran out while opening: no destructor will run, so the session
    // ends here, or the lock would stay held and the archive never close.
    leave();
    throw;
  }
}

ArchiveSession::~ArchiveSession() { leave(); }

void ArchiveSession::leave() {
  if (--sessionDepth == 0) closeArchive();
  archiveLock().unlock();
}
