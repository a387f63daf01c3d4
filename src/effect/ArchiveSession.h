// One group of archive operations: listing the descriptions, loading one
// description with the presets of its processors, loading the input-filter
// presets.
#pragma once

// Takes the process-wide archive lock and opens the archive for its own
// lifetime, then closes it and releases the lock, so two effect instances
// loading at the same time take turns instead of sharing the open handle.
// Sessions nest on one thread; only the outermost closes the archive.
// Loading paths only, never the audio path.
class ArchiveSession {
 public:
  ArchiveSession();
  ~ArchiveSession();
  ArchiveSession(const ArchiveSession&) = delete;
  ArchiveSession& operator=(const ArchiveSession&) = delete;

  // Whether the archive could be opened.
  bool isOpen() const { return open; }

 private:
  void leave();

  bool open;
};
