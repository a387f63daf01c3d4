// Graphs whose description asks for oversampling: run at the raised rate between the
// samplers, their nodes told that rate, in pieces that fit the bank, without allocating.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "AllocationCount.h"
#include "TestEngines.h"
#include "graph/BufferBank.h"
#include "processors/Oversampler.h"
#include "processors/ZrClipper.h"

namespace {

std::string inverterAt(int factor) {
  return "<torvix oversampling=\"" + std::to_string(factor) + "\"><fx id=\"flip\" type=\"inv\"/></torvix>";
}

class OversampledEngineTest : public ::testing::Test {
 protected:
  std::unique_ptr<VelkoranWin> makeEngine(const std::vector<ZipFixtureMember>& members) {
    return engines.make(members);
  }

  static std::vector<float> process(ZrVelkoranGeneric& engine, const std::vector<float>& input) {
    return processBlock(engine, input);
  }

  static std::vector<float> tone(std::size_t length) {
    std::vector<float> samples(length);
    for (std::size_t i = 0; i < length; ++i)
      samples[i] = static_cast<float>(0.5 * std::sin(0.07 * double(i)));
    return samples;
  }

  static float effectRate(const ZrVelkoranGeneric& engine) {
    return engine.graphHead()->next->effect->getSampleRate();
  }

  TestEngines engines;
};

TEST_F(OversampledEngineTest, NodesAreToldTheGraphRate) {
  auto engine = makeEngine({{"flip.xml", inverterAt(4)}});
  ASSERT_EQ(engine->graphOversampling(), 4);
  EXPECT_EQ(effectRate(*engine), 4 * 44100.0f);
  engine->forwardToProcessors(effSetSampleRate, 0, 0, nullptr, 48000.0f);
  EXPECT_EQ(effectRate(*engine), 4 * 48000.0f);
  engine->forwardToProcessors(effSetBlockSizeAndSampleRate, 0, 512, nullptr, 96000.0f);
  EXPECT_EQ(effectRate(*engine), 4 * 96000.0f);
}

TEST_F(OversampledEngineTest, AGraphBuiltAfterARateChangeRunsAtItsMultiple) {
  auto engine = makeEngine({{"a.xml", inverterAt(1)}, {"b.xml", inverterAt(8)}});
  engine->forwardToProcessors(effSetSampleRate, 0, 0, nullptr, 48000.0f);
  EXPECT_EQ(effectRate(*engine), 48000.0f);
  ASSERT_TRUE(engine->loadGraph(1));
  EXPECT_EQ(engine->graphOversampling(), 8);
  EXPECT_EQ(effectRate(*engine), 8 * 48000.0f);
}

// A linear graph gives the host-rate result through the samplers' allpass, block borders
// and the bank's pieces (a block longer than the bank holds at the raised rate) unseen.
class OversampledLinearGraph : public OversampledEngineTest, public testing::WithParamInterface<int> {};

TEST_P(OversampledLinearGraph, IsTheHostRateGraphThroughTheSamplers) {
  const int factor = GetParam();
  auto plain = makeEngine({{"flip.xml", inverterAt(1)}});
  const std::size_t length = BufferBank::kBufferLength / factor + 3000;
  const std::vector<float> input = tone(length);
  std::vector<float> expected = process(*plain, input);
  Oversampler sampler(factor, static_cast<VstInt32>(length));
  std::vector<float> raised(length * factor);
  sampler.upsample(expected.data(), raised.data(), static_cast<VstInt32>(length));
  sampler.downsample(raised.data(), expected.data(), static_cast<VstInt32>(length));

  auto oversampled = makeEngine({{"flip.xml", inverterAt(factor)}});
  const std::vector<float> whole = process(*oversampled, input);
  for (std::size_t i = 0; i < length; ++i) ASSERT_NEAR(whole[i], expected[i], 2e-6f) << i;

  auto pieces = makeEngine({{"flip.xml", inverterAt(factor)}});
  std::vector<float> inPieces;
  for (std::size_t done = 0; done < length;) {
    const std::size_t piece = std::min<std::size_t>(done % 3 == 0 ? 1 : 777, length - done);
    const std::vector<float> out = process(*pieces, {input.begin() + done, input.begin() + done + piece});
    inPieces.insert(inPieces.end(), out.begin(), out.end());
    done += piece;
  }
  EXPECT_EQ(inPieces, whole);
}

INSTANTIATE_TEST_SUITE_P(OversampledEngine, OversampledLinearGraph, testing::Values(2, 4, 16));

TEST_F(OversampledEngineTest, FactorOneIsTheGraphWithoutTheAttribute) {
  const std::string graph =
      R"(<fx id="tone" type="eq"/><fx id="hard" type="clip"/><fx id="late" type="delay"/>
<mixer id="blend" input="hard" input2="late"/></torvix>)";
  auto plain = makeEngine({{"g.xml", "<torvix>" + graph}});
  auto one = makeEngine({{"g.xml", "<torvix oversampling=\"1\" rate=\"44100\">" + graph}});
  const std::vector<float> input = tone(5000);
  EXPECT_EQ(process(*one, input), process(*plain, input));
}

// A graph without nodes has nothing to raise: its factor changes nothing, where the samplers
// would bring back bank contents that no node wrote.
TEST_F(OversampledEngineTest, AGraphWithoutNodesPlaysAsAtFactorOne) {
  auto plain = makeEngine({{"g.xml", "<torvix/>"}});
  const std::vector<float> input = tone(3000);
  const std::vector<float> expected = process(*plain, input);
  for (const int factor : {2, 16}) {
    auto empty = makeEngine({{"g.xml", "<torvix oversampling=\"" + std::to_string(factor) + "\"/>"}});
    EXPECT_EQ(process(*empty, input), expected) << factor;
  }
}

// A fault clears the samplers with the rest: the next block plays as in a fresh engine.
TEST_F(OversampledEngineTest, AFaultClearsTheSamplers) {
  const std::vector<ZipFixtureMember> archive{{"flip.xml", inverterAt(4)}};
  auto faulted = makeEngine(archive);
  process(*faulted, tone(3000));
  std::vector<float> bad = tone(100);
  bad[50] = std::numeric_limits<float>::quiet_NaN();
  for (float sample : process(*faulted, bad)) ASSERT_EQ(sample, 0.0f);
  auto fresh = makeEngine(archive);
  const std::vector<float> after = tone(2000);
  EXPECT_EQ(process(*faulted, after), process(*fresh, after));
}

// Above the host's rate the clippers clip with their antiderivative; at it, as always.
TEST_F(OversampledEngineTest, ClippersOfOversampledGraphsAreAntiAliased) {
  const auto clipperOf = [](const ZrVelkoranGeneric& engine) {
    return dynamic_cast<const ZrClipper*>(engine.graphHead()->next->effect.get());
  };
  auto engine = makeEngine({{"a.xml", "<torvix><fx id=\"c\" type=\"clip\"/></torvix>"},
                            {"b.xml", "<torvix oversampling=\"2\"><fx id=\"c\" type=\"clip\"/></torvix>"}});
  ASSERT_NE(clipperOf(*engine), nullptr);
  EXPECT_TRUE(clipperOf(*engine)->clipsAsHardClip());
  ASSERT_TRUE(engine->loadGraph(1));
  ASSERT_NE(clipperOf(*engine), nullptr);
  EXPECT_FALSE(clipperOf(*engine)->clipsAsHardClip());
}

TEST_F(OversampledEngineTest, ProcessingAllocatesNothing) {
  auto engine = makeEngine({{"flip.xml", inverterAt(16)}});
  const std::vector<float> input = tone(BufferBank::kBufferLength / 16 + 100);
  std::vector<float> in = input, out(input.size());
  float* inputs[] = {in.data()};
  float* outputs[] = {out.data()};
  const AllocationCount count;
  engine->processReplacing(inputs, outputs, static_cast<VstInt32>(input.size()));
  EXPECT_EQ(count.allocations(), 0);
}

}  // namespace
