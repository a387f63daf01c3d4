// The node model: parameter lookup, mixers, fx nodes, the run of a block, host requests
// and the release of a chain.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "TestBufferBank.h"
#include "TestSignal.h"
#include "graph/AudioNodeFX.h"
#include "graph/InputAudioNode.h"
#include "graph/MixerAudioNode.h"
#include "graph/RunPlan.h"
#include "processors/ZrClipper.h"
#include "processors/ZrInv.h"
#include "support/OneChannelHost.h"
#include "support/SilentEffect.h"

namespace {

ParamBinding constant(VstInt32 set, float value) {
  ParamBinding binding;
  binding.set = set;
  binding.value = value;
  return binding;
}

ParamBinding readFrom(VstInt32 set, AudioNode& source, VstInt32 get) {
  ParamBinding binding;
  binding.set = set;
  binding.source = &source;
  binding.get = get;
  return binding;
}

// A chain of head -> nodes..., each node owned by the one before it.
void link(AudioNode& head, std::vector<std::unique_ptr<AudioNode>> nodes) {
  AudioNode* last = &head;
  for (std::unique_ptr<AudioNode>& node : nodes) {
    last->next = std::move(node);
    last = last->next.get();
  }
}

std::unique_ptr<AudioNodeFX> fxNode(std::unique_ptr<AudioEffect> effect, AudioNode* input, VstInt32 outBuf) {
  auto node = std::make_unique<AudioNodeFX>();
  node->effect = std::move(effect);
  node->input = input;
  node->outBuf = outBuf;
  return node;
}

TEST(ParamLookup, UnboundParameterReadsTheFallback) {
  MixerAudioNode node;
  EXPECT_EQ(node.getParam(0, 1.0f), 1.0f);
  node.params.push_back(constant(3, 0.25f));
  EXPECT_EQ(node.getParam(0, 1.0f), 1.0f);
  EXPECT_EQ(node.getParam(3, 1.0f), 0.25f);
}

TEST(ParamLookup, FirstBindingOfAnIndexDecides) {
  MixerAudioNode node;
  node.params.push_back(constant(1, 0.5f));
  node.params.push_back(constant(1, 0.75f));
  EXPECT_EQ(node.getParam(1, 1.0f), 0.5f);
}

TEST(ParamLookup, SourceBindingReadsTheProcessorParameterAtEachLookup) {
  AudioNodeFX source;
  source.effect = std::make_unique<ZrClipper>(oneChannelHost);
  source.effect->setParameter(1, 0.3f);
  MixerAudioNode reader;
  reader.params.push_back(readFrom(0, source, 1));
  EXPECT_EQ(reader.getParam(0, 1.0f), 0.3f);
  source.effect->setParameter(1, 0.8f);
  EXPECT_EQ(reader.getParam(0, 1.0f), 0.8f);
}

TEST(NodeValues, MixerAndFxWithoutProcessorOfferZero) {
  MixerAudioNode mixer;
  AudioNodeFX bare;
  for (VstInt32 which : {-1, 0, 1, 2, 100}) {
    EXPECT_EQ(mixer.getValue(which), 0.0f);
    EXPECT_EQ(bare.getValue(which), 0.0f);
  }
}

class MixerRun : public ::testing::Test {
 protected:
  void SetUp() override {
    in1.outBuf = 5;
    in2.outBuf = 9;
    mixer.input = &in1;
    mixer.input2 = &in2;
    mixer.outBuf = BufferBank::kGraphOutput;
    bank.fill(5, {1.0f, -2.0f, 0.5f, 3.0f});
    bank.fill(9, {0.25f, 4.0f, -1.0f, 0.125f});
  }

  std::vector<float> run() {
    mixer.processBlock(bank.bank, 4);
    EXPECT_EQ(bank[BufferBank::kGraphOutput][4], TestBufferBank::kUntouched);
    EXPECT_TRUE(bank.guardsIntact());
    return bank.read(BufferBank::kGraphOutput, 4);
  }

  TestBufferBank bank;
  AudioNodeFX in1, in2;
  MixerAudioNode mixer;
};

TEST_F(MixerRun, WithoutBindingsAddsItsInputs) {
  EXPECT_EQ(run(), (std::vector<float>{1.25f, 2.0f, -0.5f, 3.125f}));
}

TEST_F(MixerRun, ParameterZeroScalesTheFirstInputOnly) {
  mixer.params.push_back(constant(0, 0.5f));
  EXPECT_EQ(run(), (std::vector<float>{0.75f, 3.0f, -0.75f, 1.625f}));
}

TEST_F(MixerRun, GainsComeFromBindingsInFloat32) {
  mixer.params.push_back(constant(1, 0.1f));
  mixer.params.push_back(constant(0, 3.0f));
  const std::vector<float> out = run();
  const float first[] = {1.0f, -2.0f, 0.5f, 3.0f};
  const float second[] = {0.25f, 4.0f, -1.0f, 0.125f};
  for (int i = 0; i < 4; ++i) {
    const float a = 3.0f * first[i];
    const float b = 0.1f * second[i];
    EXPECT_EQ(out[i], a + b) << i;
  }
}

TEST(GraphRun, HeadAloneWritesNothing) {
  TestBufferBank bank;
  bank.fill(BufferBank::kGraphInput, testSignal(64));
  InputAudioNode head;
  RunPlan(head, bank.bank).run(64);
  for (int entry = 1; entry < BufferBank::kEntryCount; ++entry) {
    EXPECT_EQ(bank[entry][0], TestBufferBank::kUntouched) << entry;
    EXPECT_EQ(bank[entry][63], TestBufferBank::kUntouched) << entry;
  }
}

TEST(GraphRun, RunsTheChainInOrderOverOneChannelBuffers) {
  TestBufferBank bank;
  const std::vector<float> input = testSignal(300);
  bank.fill(BufferBank::kGraphInput, input);
  InputAudioNode head;
  auto first = fxNode(std::make_unique<ZrInv>(oneChannelHost), nullptr, 7);
  auto mixer = std::make_unique<MixerAudioNode>();
  mixer->input = first.get();
  mixer->input2 = &head;
  mixer->params.push_back(constant(1, 0.5f));
  mixer->outBuf = 12;
  auto last = fxNode(std::make_unique<ZrInv>(oneChannelHost), mixer.get(), BufferBank::kGraphOutput);
  std::vector<std::unique_ptr<AudioNode>> nodes;
  nodes.push_back(std::move(first));
  nodes.push_back(std::move(mixer));
  nodes.push_back(std::move(last));
  link(head, std::move(nodes));

  RunPlan(head, bank.bank).run(300);

  const std::vector<float> out = bank.read(BufferBank::kGraphOutput, 300);
  for (std::size_t i = 0; i < input.size(); ++i) {
    const float mixed = -input[i] + 0.5f * input[i];
    EXPECT_EQ(out[i], -mixed) << i;
  }
  EXPECT_EQ(bank[BufferBank::kGraphOutput][300], TestBufferBank::kUntouched);
  EXPECT_TRUE(bank.guardsIntact());
}

TEST(GraphRun, FxNodeWithoutProcessorWritesSilence) {
  TestBufferBank bank;
  bank.fill(BufferBank::kGraphInput, testSignal(16));
  InputAudioNode head;
  std::vector<std::unique_ptr<AudioNode>> nodes;
  nodes.push_back(fxNode(nullptr, &head, BufferBank::kGraphOutput));
  link(head, std::move(nodes));
  RunPlan(head, bank.bank).run(16);
  EXPECT_EQ(bank.read(BufferBank::kGraphOutput, 16), std::vector<float>(16, 0.0f));
  EXPECT_EQ(bank[BufferBank::kGraphOutput][16], TestBufferBank::kUntouched);
  EXPECT_TRUE(bank.guardsIntact());
}

TEST(HostRequests, ReachTheProcessorAndAnswerZero) {
  AudioNodeFX node;
  node.effect = std::make_unique<SilentEffect>(oneChannelHost);
  EXPECT_EQ(node.dispatchToEffect(effSetSampleRate, 0, 0, nullptr, 96000.0f), 0);
  EXPECT_EQ(node.effect->getSampleRate(), 96000.0f);
  // The effect's own answer to a version request is not passed on.
  EXPECT_NE(node.effect->dispatcher(effGetVstVersion, 0, 0, nullptr, 0.0f), 0);
  EXPECT_EQ(node.dispatchToEffect(effGetVstVersion, 0, 0, nullptr, 0.0f), 0);
  AudioNodeFX bare;
  EXPECT_EQ(bare.dispatchToEffect(effSetSampleRate, 0, 0, nullptr, 48000.0f), 0);
}

TEST(ChainRelease, DestroyingTheHeadReleasesEveryNodeAndProcessor) {
  const int before = SilentEffect::liveInstances;
  auto head = std::make_unique<InputAudioNode>();
  std::vector<std::unique_ptr<AudioNode>> nodes;
  for (int i = 0; i < 5; ++i)
    nodes.push_back(fxNode(std::make_unique<SilentEffect>(oneChannelHost), nullptr, 2));
  link(*head, std::move(nodes));
  head->keepUnplaced(fxNode(std::make_unique<SilentEffect>(oneChannelHost), nullptr, 0));
  EXPECT_EQ(SilentEffect::liveInstances, before + 6);
  head.reset();
  EXPECT_EQ(SilentEffect::liveInstances, before);
}

TEST(ChainRelease, AVeryLongChainIsReleasedWithoutDeepRecursion) {
  auto head = std::make_unique<InputAudioNode>();
  AudioNode* last = head.get();
  for (int i = 0; i < 300000; ++i) {
    last->next = std::make_unique<AudioNodeFX>();
    last = last->next.get();
  }
  head.reset();
  SUCCEED();
}

}  // namespace
