// Bounds the work that the control values of one block cause.
#pragma once

#include <cstdint>
#include <vector>

#include "graph/AudioNode.h"

// Values are pulled through bindings when they are read, and a divider reads two sources
// for its ratio, so chained dividers multiply the calls of a single read (60 dividers that
// each read the one before twice would never finish a block) and nest them on the audio
// thread's stack. Every block, each mixer reads its two gains and each averager its
// window. A call costs about 6 ns (bench: BM_ChainedDividerReads), so this many take
// some 50 µs, a sixth of a 32-sample block at 96 kHz: a graph is refused when the reads
// of one block can make more getValue calls than this.
constexpr std::uint64_t kMaxControlReadsPerBlock = 8192;

// Each nested read takes stack frames of the host's audio thread, whose size the host
// chooses; a graph is refused when one read can nest deeper than this.
constexpr std::uint64_t kMaxControlReadDepth = 256;

struct ControlReadExcess {
  enum Kind { kNone, kTooManyReads, kTooDeep };

  Kind kind = kNone;
  // The node whose parameter reads cross the limit.
  const AudioNode* node = nullptr;
};

// Counts, over the nodes of an ordered chain (sources before their readers), the getValue
// calls and the nesting that the parameter reads of one block make: a mixer's two gains
// and an averager's window, through every value a divider offers. Names the first node in
// chain order at which the block's calls exceed kMaxControlReadsPerBlock or a read nests
// deeper than kMaxControlReadDepth.
ControlReadExcess findExcessiveControlReads(const std::vector<AudioNode*>& chain);
