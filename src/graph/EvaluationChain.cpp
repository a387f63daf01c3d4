#include "graph/EvaluationChain.h"

#include <unordered_set>

#include "frame/TraceLog.h"
#include "graph/MixerAudioNode.h"

namespace {

// What must run before node, in visiting order.
std::vector<AudioNode*> prerequisitesOf(const AudioNode& node) {
  std::vector<AudioNode*> prerequisites;
  for (const ParamBinding& binding : node.params) {
    if (binding.source) prerequisites.push_back(binding.source);
  }
  if (node.input) prerequisites.push_back(node.input);
  if (node.kind == AudioNode::kMixer) {
    const auto& mixer = static_cast<const MixerAudioNode&>(node);
    if (mixer.input2) prerequisites.push_back(mixer.input2);
  }
  return prerequisites;
}

struct Visit {
  AudioNode* node;
  std::vector<AudioNode*> prerequisites;
  std::size_t nextPrerequisite = 0;
};

}  // namespace

AudioNode* orderEvaluationChain(AudioNode& output, std::vector<AudioNode*>& chain) {
  if (output.ordered) return nullptr;
  std::vector<Visit> path;
  std::unordered_set<const AudioNode*> onPath;
  path.push_back({&output, prerequisitesOf(output)});
  onPath.insert(&output);
  while (!path.empty()) {
    Visit& visit = path.back();
    if (visit.nextPrerequisite < visit.prerequisites.size()) {
      AudioNode* prerequisite = visit.prerequisites[visit.nextPrerequisite++];
      if (prerequisite->ordered) continue;
      if (onPath.count(prerequisite)) return prerequisite;
      onPath.insert(prerequisite);
      path.push_back({prerequisite, prerequisitesOf(*prerequisite)});
      continue;
    }
    AudioNode* node = visit.node;
    path.pop_back();
    onPath.erase(node);
    chain.push_back(node);
    traceLog("node:%s, out:%d\n", node->name.c_str(), node->outBuf);
    node->ordered = true;
  }
  return nullptr;
}
