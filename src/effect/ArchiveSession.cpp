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
  open = openArchive();
}

ArchiveSession::~ArchiveSession() {
  if (--sessionDepth == 0) closeArchive();
  archiveLock().unlock();
}
