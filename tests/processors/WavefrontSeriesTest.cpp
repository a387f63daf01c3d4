// Equalisers and clippers in series against the same stages run one after another, in the
// four-lane form and, where the processor has it, the eight-lane one.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "TestCascade.h"
#include "processors/PassWavefront.h"
#include "processors/WavefrontSeries.h"
#include "processors/ZrClipper.h"
#include "support/OneChannelHost.h"
#include "support/SameSamples.h"

namespace {

// Each stage twice with the same settings: one to run in the series, one on its own.
struct StagePair {
  std::unique_ptr<TestCascade> equaliser[2];
  std::unique_ptr<ZrClipper> clipper[2];
};

StagePair randomStage(std::mt19937& generator, bool clipper) {
  std::uniform_real_distribution<float> unit(0.0f, 1.0f);
  StagePair pair;
  if (!clipper) {
    const Settings settings{.order = 1 + static_cast<int>(3 * unit(generator)),
                            .highShelf = unit(generator) > 0.5f,
                            .frequency = unit(generator),
                            .k = unit(generator),
                            .alpha = 0.05 + 0.9 * unit(generator),
                            .passes = static_cast<int>(4 * unit(generator)),
                            .postGain = 2.0f * unit(generator)};
    for (auto& equaliser : pair.equaliser) equaliser = std::make_unique<TestCascade>(settings);
    return pair;
  }
  const float values[] = {0.25f * unit(generator), unit(generator), unit(generator), 0.2f * unit(generator),
                          unit(generator) > 0.8f ? 1.0f : 0.0f};
  for (auto& one : pair.clipper) {
    one = std::make_unique<ZrClipper>(oneChannelHost);
    for (VstInt32 index = 0; index < 5; ++index) one->setParameter(index, values[index]);
  }
  return pair;
}

// Stages alternate between equalisers and clippers where kinds says so (bit k set: stage k
// clips), so clippers follow equalisers, one another and the start.
void expectSeriesSameAsOneAfterAnother(unsigned kinds, int stageCount, unsigned seed, VstInt32 lanes) {
  std::mt19937 generator(seed);
  std::vector<StagePair> pairs;
  for (int k = 0; k < stageCount; ++k) pairs.push_back(randomStage(generator, (kinds >> k) & 1u));
  const std::vector<float> signal = randomSignal(1500, seed, 1.5f);
  std::vector<std::vector<float>> expected(stageCount, std::vector<float>(signal.size(), 2.0f));
  std::vector<std::vector<float>> actual = expected;
  for (std::size_t done = 0, block = 0; done < signal.size(); ++block) {
    const int count =
        std::min(kUnevenBlocks[block % kUnevenBlocks.size()], static_cast<int>(signal.size() - done));
    std::vector<WavefrontSeries::Stage> stages;
    const float* source = signal.data() + done;
    for (int k = 0; k < stageCount; ++k) {
      StagePair& pair = pairs[static_cast<std::size_t>(k)];
      float* alone = expected[static_cast<std::size_t>(k)].data() + done;
      float* inSeries = actual[static_cast<std::size_t>(k)].data() + done;
      if (pair.clipper[0]) {
        float* inputs[] = {const_cast<float*>(source)};
        float* outputs[] = {alone};
        pair.clipper[0]->processReplacing(inputs, outputs, count);
        stages.push_back(WavefrontSeries::clipper(*pair.clipper[1], inSeries));
      } else {
        pair.equaliser[0]->process(source, alone, count);
        stages.push_back(WavefrontSeries::equaliser(pair.equaliser[1]->cascade, inSeries));
      }
      source = alone;
    }
    WavefrontSeries::run(stages.data(), stageCount, signal.data() + done, count, lanes);
    done += static_cast<std::size_t>(count);
  }
  for (int k = 0; k < stageCount; ++k) {
    EXPECT_TRUE(sameSamples(expected[static_cast<std::size_t>(k)], actual[static_cast<std::size_t>(k)]))
        << "kinds " << kinds << ", stage " << k << ", lanes " << lanes;
  }
}

// The four SSE2 lanes, and the eight of AVX2 where the processor has them.
class WavefrontSeriesTest : public ::testing::TestWithParam<VstInt32> {
 protected:
  void SetUp() override {
    if (GetParam() > PassWavefront::laneCapacity()) GTEST_SKIP() << "this processor has no AVX2";
  }
};

TEST_P(WavefrontSeriesTest, EqualisersAndClippersGiveTheBitsOfRunningOneAfterAnother) {
  // Every equaliser clipped (more outputs than a wavefront holds), none, alternating pairs,
  // a clipper first, two clippers together, and random mixes.
  const unsigned patterns[] = {0b0101010101010101, 0b0, 0b1010101010101010, 0b1100110011001100, 0b0110};
  unsigned seed = 1;
  for (unsigned kinds : patterns) expectSeriesSameAsOneAfterAnother(kinds, 16, seed++, GetParam());
  std::mt19937 generator(77);
  for (int trial = 0; trial < 12; ++trial)
    expectSeriesSameAsOneAfterAnother(generator() & 0xffffu, 16, seed++, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Widths, WavefrontSeriesTest, ::testing::Values(PassWavefront::kSse2Lanes, 8),
                         [](const auto& info) { return std::to_string(info.param) + "Lanes"; });

}  // namespace
