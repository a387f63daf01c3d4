// Gives the nodes of an ordered chain their output buffers from the bank's pool.
#pragma once

#include <deque>
#include <vector>

#include "graph/AudioNode.h"

struct BufferAssignment {
  enum Outcome {
    kAssigned,
    // More buffers would be live at once than the pool holds.
    kPoolExhausted,
    // An fx node or mixer that no later node reads as audio: it would write bank entry 0.
    kNoAudioConsumer,
  };
  Outcome outcome = kAssigned;
  // Where the scan stopped, when it did not finish.
  const AudioNode* node = nullptr;
  // The free-buffer list as the scan left it, first to be taken first.
  std::deque<VstInt32> freeBuffers;
};

// Scans chain backwards from its last node down to position 1 (the head is not visited).
// For each node: an input (and a mixer's input2) without a buffer yet takes the first
// index of the free-buffer list, so a buffer is taken at its last reader; then the node's
// own pool index goes back to the end of the list. Two nodes thus share a bank entry only
// when the later one is written after every read of the earlier one, and pool indexes are
// used in rotation. The list starts as 2 to 49; entry 1 (the output node's) is never given
// back. Traces "node %s, in:%s outbuf:%d\n" for each node visited.
BufferAssignment assignBuffers(const std::vector<AudioNode*>& chain);
