// The bank of mono sample buffers over which a graph runs.
#pragma once

// Owned and allocated by the engine. Every entry is a channel table of the form
// processReplacing takes, holding exactly one channel pointer. Entry 0 is the graph input
// (the engine fills it before a run), entry 1 the graph output (the engine reads it after),
// entries 2 to 49 the pool from which the builder gives nodes their intermediate buffers.
struct BufferBank {
  static constexpr int kEntryCount = 50;
  static constexpr int kGraphInput = 0;
  static constexpr int kGraphOutput = 1;
  static constexpr int kFirstPoolEntry = 2;
  static constexpr int kPoolSize = kEntryCount - kFirstPoolEntry;
  // Samples in every channel; no block may be longer.
  static constexpr int kBufferLength = 144100;

  float* channel(int entry) const { return entries[entry][0]; }

  float** entries[kEntryCount] = {};
};
