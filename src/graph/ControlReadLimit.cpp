#include "graph/ControlReadLimit.h"

#include <algorithm>
#include <map>
#include <unordered_map>

#include "graph/AveragerAN.h"
#include "graph/DividerAN.h"

namespace {

// Counts beyond the limits are held just above them, so doubling chains cannot overflow.
constexpr std::uint64_t kCallsCap = kMaxControlReadsPerBlock + 1;
constexpr std::uint64_t kDepthCap = kMaxControlReadDepth + 1;

// The getValue calls a read makes and how deeply they nest.
struct ReadCost {
  std::uint64_t calls = 0;
  std::uint64_t depth = 0;
};

// A value computed from reads: one call of its own, nesting one level above them.
ReadCost valueOf(const ReadCost& first, const ReadCost& second = {}) {
  return {std::min(kCallsCap, 1 + first.calls + second.calls),
          std::min(kDepthCap, 1 + std::max(first.depth, second.depth))};
}

class ControlReadCounter {
 public:
  // The cost of a read of parameter index of node.
  ReadCost parameterRead(const AudioNode& node, VstInt32 index) const {
    const ParamBinding* binding = node.bindingFor(index);
    return binding && binding->source ? valueRead(*binding->source, binding->get) : ReadCost{};
  }

  void addDivider(const DividerAN& divider) {
    std::map<VstInt32, ReadCost>& values = dividerValues[&divider];
    values[DividerAN::kRatio] = valueOf(parameterRead(divider, 0), parameterRead(divider, 1));
    for (const ParamBinding& binding : divider.params) {
      if (binding.set != DividerAN::kRatio)
        values[binding.set] = valueOf(parameterRead(divider, binding.set));
    }
  }

 private:
  // Only dividers read further; any other value, and a divider's unbound parameter, is
  // one call.
  ReadCost valueRead(const AudioNode& source, VstInt32 which) const {
    const auto divider = dividerValues.find(&source);
    if (divider == dividerValues.end()) return valueOf({});
    const auto value = divider->second.find(which);
    return value == divider->second.end() ? valueOf({}) : value->second;
  }

  std::unordered_map<const AudioNode*, std::map<VstInt32, ReadCost>> dividerValues;
};

// The parameters that a running node reads once per block.
std::vector<VstInt32> readsPerBlock(const AudioNode& node) {
  if (node.kind == AudioNode::kMixer) return {0, 1};
  if (dynamic_cast<const AveragerAN*>(&node)) return {0};
  return {};
}

}  // namespace

ControlReadExcess findExcessiveControlReads(const std::vector<AudioNode*>& chain) {
  ControlReadCounter counter;
  std::uint64_t blockCalls = 0;
  for (const AudioNode* node : chain) {
    if (const auto* divider = dynamic_cast<const DividerAN*>(node)) counter.addDivider(*divider);
    for (const VstInt32 index : readsPerBlock(*node)) {
      const ReadCost read = counter.parameterRead(*node, index);
      if (read.depth > kMaxControlReadDepth) return {ControlReadExcess::kTooDeep, node};
      blockCalls += read.calls;
      if (blockCalls > kMaxControlReadsPerBlock) return {ControlReadExcess::kTooManyReads, node};
    }
  }
  return {};
}
