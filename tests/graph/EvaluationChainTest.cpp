// Ordering of hand-made node sets, including ones no description can produce.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "graph/AudioNodeFX.h"
#include "graph/DividerAN.h"
#include "graph/EvaluationChain.h"
#include "graph/InputAudioNode.h"
#include "graph/MixerAudioNode.h"

namespace {

void bindSource(AudioNode& node, VstInt32 set, AudioNode& source) {
  ParamBinding binding;
  binding.set = set;
  binding.source = &source;
  node.params.push_back(binding);
}

TEST(EvaluationChain, SourcesThenInputsThenTheNode) {
  InputAudioNode head;
  AudioNodeFX a, b, c;
  DividerAN ratio;
  MixerAudioNode mixer;
  a.input = &head;
  b.input = &a;
  c.input = &head;
  ratio.input = &c;
  bindSource(mixer, 0, ratio);
  mixer.input = &b;
  mixer.input2 = &c;
  std::vector<AudioNode*> chain{&head};
  EXPECT_EQ(orderEvaluationChain(mixer, chain), nullptr);
  EXPECT_EQ(chain, (std::vector<AudioNode*>{&head, &c, &ratio, &a, &b, &mixer}));
  for (AudioNode* node : chain) EXPECT_TRUE(node->ordered);
}

TEST(EvaluationChain, ANodeReachedTwiceIsPlacedOnce) {
  InputAudioNode head;
  AudioNodeFX shared;
  shared.input = &head;
  MixerAudioNode mixer;
  mixer.input = &shared;
  mixer.input2 = &shared;
  bindSource(mixer, 0, shared);
  std::vector<AudioNode*> chain{&head};
  orderEvaluationChain(mixer, chain);
  EXPECT_EQ(chain, (std::vector<AudioNode*>{&head, &shared, &mixer}));
}

TEST(EvaluationChain, InputCycleIsReportedInsteadOfFollowedForever) {
  AudioNodeFX a, b;
  a.input = &b;
  b.input = &a;
  std::vector<AudioNode*> chain;
  const AudioNode* cycle = orderEvaluationChain(a, chain);
  EXPECT_EQ(cycle, &a);
  EXPECT_TRUE(chain.empty());
}

TEST(EvaluationChain, BindingCycleIsReported) {
  InputAudioNode head;
  DividerAN a, b;
  a.input = &head;
  bindSource(a, 0, b);
  bindSource(b, 1, a);
  MixerAudioNode mixer;
  mixer.input = &head;
  mixer.input2 = &head;
  bindSource(mixer, 0, a);
  std::vector<AudioNode*> chain{&head};
  EXPECT_EQ(orderEvaluationChain(mixer, chain), &a);
}

TEST(EvaluationChain, SelfReferenceIsACycle) {
  DividerAN node;
  bindSource(node, 0, node);
  std::vector<AudioNode*> chain;
  EXPECT_EQ(orderEvaluationChain(node, chain), &node);
}

TEST(EvaluationChain, AVeryLongChainIsOrderedWithoutDeepRecursion) {
  constexpr int kLength = 200000;
  InputAudioNode head;
  std::vector<std::unique_ptr<AudioNodeFX>> nodes;
  AudioNode* previous = &head;
  for (int i = 0; i < kLength; ++i) {
    nodes.push_back(std::make_unique<AudioNodeFX>());
    nodes.back()->input = previous;
    previous = nodes.back().get();
  }
  std::vector<AudioNode*> chain{&head};
  EXPECT_EQ(orderEvaluationChain(*previous, chain), nullptr);
  ASSERT_EQ(chain.size(), static_cast<std::size_t>(kLength) + 1);
  EXPECT_EQ(chain[1], nodes.front().get());
  EXPECT_EQ(chain.back(), nodes.back().get());
}

}  // namespace
