// Bounds the work that reading one control value can cause.
#pragma once

#include <cstdint>
#include <vector>

#include "graph/AudioNode.h"

// Values are pulled through bindings when they are read, and a divider reads two sources
// for its ratio, so chained dividers multiply the calls of a single read (a chain of 60
// dividers, each reading the previous one twice, would never finish a block) and nest
// them on the audio thread's stack. A graph is refused when one read can make more
// getValue calls than this.
constexpr std::uint64_t kMaxControlReads = 1024;

// Counts, for the nodes of an ordered chain (sources before their readers), the getValue
// calls that each parameter read of a running node makes: a mixer's two gains, an
// averager's window, and every value a divider offers. Returns the first node in chain
// order at which a read exceeds kMaxControlReads, or nullptr when none does.
const AudioNode* findExcessiveControlRead(const std::vector<AudioNode*>& chain);
