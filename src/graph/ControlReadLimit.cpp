#include "graph/ControlReadLimit.h"

#include <map>
#include <unordered_map>

#include "graph/DividerAN.h"

namespace {

class ControlReadCounter {
 public:
  // Calls made by a read of parameter index of node, not counting the read itself.
  std::uint64_t parameterReads(const AudioNode& node, VstInt32 index) const {
    const ParamBinding* binding = node.bindingFor(index);
    return binding && binding->source ? valueReads(*binding->source, binding->get) : 0;
  }

  // Counts a divider's values; false when one of them exceeds the limit.
  bool addDivider(const DividerAN& divider) {
    std::map<VstInt32, std::uint64_t>& reads = dividerReads[&divider];
    reads[DividerAN::kRatio] = 1 + parameterReads(divider, 0) + parameterReads(divider, 1);
    for (const ParamBinding& binding : divider.params) {
      if (binding.set != DividerAN::kRatio) reads[binding.set] = 1 + parameterReads(divider, binding.set);
    }
    for (const auto& [which, count] : reads) {
      if (count > kMaxControlReads) return false;
    }
    return true;
  }

 private:
  // Calls made by source.getValue(which), itself included. Only dividers read further;
  // a divider's unbound parameter reads nothing.
  std::uint64_t valueReads(const AudioNode& source, VstInt32 which) const {
    const auto divider = dividerReads.find(&source);
    if (divider == dividerReads.end()) return 1;
    const auto count = divider->second.find(which);
    return count == divider->second.end() ? 1 : count->second;
  }

  std::unordered_map<const AudioNode*, std::map<VstInt32, std::uint64_t>> dividerReads;
};

}  // namespace

const AudioNode* findExcessiveControlRead(const std::vector<AudioNode*>& chain) {
  ControlReadCounter counter;
  for (const AudioNode* node : chain) {
    if (const auto* divider = dynamic_cast<const DividerAN*>(node)) {
      if (!counter.addDivider(*divider)) return node;
    } else if (node->kind == AudioNode::kMixer) {
      if (counter.parameterReads(*node, 0) + counter.parameterReads(*node, 1) > kMaxControlReads) return node;
    } else if (node->kind == AudioNode::kControl) {
      if (counter.parameterReads(*node, 0) > kMaxControlReads) return node;
    }
  }
  return nullptr;
}
