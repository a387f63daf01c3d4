// The equaliser's wavefront against the cascade as plainly written: one pass after another,
// one sample after another, in float32. Both must give the same bits.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <memory>
#include <random>
#include <vector>

#include "TestCascade.h"
#include "processors/IIRCascade.h"
#include "processors/PassWavefront.h"
#include "processors/WavefrontSeries.h"
#include "support/SameSamples.h"

namespace {

// The cascade sample by sample, pass by pass, with its own histories from silence.
class PlainCascade {
 public:
  PlainCascade(const IIRCascade& designed) : c(designed.coefficients()), cascade(designed) {}

  void process(const float* input, float* output, int count) {
    if (cascade.passes() <= 0) {
      std::fill(output, output + count, 0.0f);
      return;
    }
    const float level = static_cast<float>((static_cast<double>(cascade.k()) - 0.5) * 30.0 * 2.0);
    float gain = static_cast<float>(std::exp(static_cast<double>(level / 10.0f)));
    if (cascade.passes() == 2) gain = std::sqrt(gain);
    const float weight = cascade.order() != 2 && cascade.highShelf() ? gain - 1.0f : 1.0f - gain;
    for (int pass = 0; pass < cascade.passes(); ++pass) {
      History& h = histories[static_cast<std::size_t>(pass)];
      const float* source = pass == 0 ? input : output;
      for (int i = 0; i < count; ++i) {
        const float x = source[i];
        const float y = c.b0 * x + c.b1 * h.x1 + c.b2 * h.x2 - c.a1 * h.y1 - c.a2 * h.y2;
        h.y2 = h.y1;
        h.y1 = y;
        const float mixed = 0.5f * ((1.0f + gain) * x + weight * y);
        output[i] = pass == cascade.passes() - 1 ? cascade.postGain() * mixed : mixed;
        h.x2 = h.x1;
        h.x1 = x;
      }
    }
  }

 private:
  struct History {
    float x1 = 0, x2 = 0, y1 = 0, y2 = 0;
  };
  IIRCascade::Coefficients c;
  const IIRCascade& cascade;
  std::array<History, IIRCascade::kMaxPasses> histories{};
};

Settings randomSettings(std::mt19937& generator) {
  std::uniform_real_distribution<float> unit(0.0f, 1.0f);
  std::uniform_int_distribution<int> order(1, 3), passes(0, 22);
  return {.order = order(generator),
          .highShelf = unit(generator) > 0.5f,
          .frequency = unit(generator),
          .k = unit(generator),
          .alpha = 0.05 + 0.94 * unit(generator),
          .passes = passes(generator),
          .postGain = 2.0f * unit(generator)};
}

// Runs both over the signal in blocks of the uneven lengths; inPlace hands the wavefront one
// buffer as input and output.
void expectSameAsPlain(const Settings& settings, const std::vector<float>& signal, bool inPlace) {
  TestCascade equaliser(settings, 48000.0f);
  PlainCascade plain(equaliser.cascade);
  std::vector<float> expected(signal.size()), actual(signal.size(), -7.0f);
  if (inPlace) actual = signal;
  for (std::size_t done = 0, block = 0; done < signal.size(); ++block) {
    const int count =
        std::min(kUnevenBlocks[block % kUnevenBlocks.size()], static_cast<int>(signal.size() - done));
    plain.process(signal.data() + done, expected.data() + done, count);
    float* inputs[] = {inPlace ? actual.data() + done : const_cast<float*>(signal.data()) + done};
    float* outputs[] = {actual.data() + done};
    equaliser.cascade.processCascade(inputs, outputs, count);
    done += static_cast<std::size_t>(count);
  }
  EXPECT_TRUE(sameSamples(expected, actual)) << "order " << settings.order << ", passes " << settings.passes
                                             << ", k " << settings.k << ", in place " << inPlace;
}

TEST(PassWavefront, GivesThePlainCascadesBitsForRandomSettingsAndUnevenBlocks) {
  std::mt19937 generator(2024);
  for (int trial = 0; trial < 60; ++trial) {
    const Settings settings = randomSettings(generator);
    const std::vector<float> signal = randomSignal(3000, static_cast<unsigned>(trial), 1.5f);
    expectSameAsPlain(settings, signal, trial % 2 == 0);
  }
}

TEST(PassWavefront, GivesThePlainCascadesBitsForEveryPassCount) {
  std::mt19937 generator(99);
  for (int passes = 1; passes <= IIRCascade::kMaxPasses; ++passes) {
    Settings settings = randomSettings(generator);
    settings.passes = passes;
    expectSameAsPlain(settings, randomSignal(1500, static_cast<unsigned>(passes)), passes % 3 == 0);
  }
}

TEST(PassWavefront, CarriesNotANumberAndInfinityAsThePlainCascadeDoes) {
  std::vector<float> signal = randomSignal(600, 5);
  signal[200] = std::numeric_limits<float>::infinity();
  signal[401] = std::numeric_limits<float>::quiet_NaN();
  signal[402] = std::numeric_limits<float>::denorm_min();
  std::mt19937 generator(3);
  for (int passes : {1, 5, 20}) {
    Settings settings = randomSettings(generator);
    settings.passes = passes;
    expectSameAsPlain(settings, signal, false);
  }
}

// Equalisers in series, with their destinations distinct, shared by all (in place) or
// alternating between two buffers, against the plain cascades one after another.
void expectSeriesSameAsPlain(std::mt19937& generator, int stageCount, int aliasing) {
  std::vector<std::unique_ptr<TestCascade>> equalisers;
  std::vector<std::unique_ptr<PlainCascade>> plains;
  for (int k = 0; k < stageCount; ++k) {
    equalisers.push_back(std::make_unique<TestCascade>(randomSettings(generator)));
    plains.push_back(std::make_unique<PlainCascade>(equalisers.back()->cascade));
  }
  const std::vector<float> signal = randomSignal(2000, static_cast<unsigned>(stageCount * 10 + aliasing));
  std::vector<std::vector<float>> expected(stageCount, std::vector<float>(signal.size(), 3.0f));
  std::vector<std::vector<float>> actual = expected;
  auto destination = [&](std::vector<std::vector<float>>& buffers, int k) {
    return buffers[aliasing == 0 ? k : aliasing == 1 ? 0 : k % 2].data();
  };
  for (std::size_t done = 0, block = 0; done < signal.size(); ++block) {
    const int count =
        std::min(kUnevenBlocks[block % kUnevenBlocks.size()], static_cast<int>(signal.size() - done));
    const float* source = signal.data() + done;
    std::vector<WavefrontSeries::Stage> stages;
    for (int k = 0; k < stageCount; ++k) {
      float* plainOut = destination(expected, k) + done;
      plains[static_cast<std::size_t>(k)]->process(source, plainOut, count);
      source = plainOut;
      stages.push_back(WavefrontSeries::equaliser(equalisers[static_cast<std::size_t>(k)]->cascade,
                                                  destination(actual, k) + done));
    }
    WavefrontSeries::run(stages.data(), stageCount, signal.data() + done, count,
                         PassWavefront::laneCapacity());
    done += static_cast<std::size_t>(count);
  }
  for (int k = 0; k < stageCount; ++k) {
    EXPECT_TRUE(sameSamples(expected[static_cast<std::size_t>(k)], actual[static_cast<std::size_t>(k)]))
        << stageCount << " stages, aliasing " << aliasing << ", stage " << k;
  }
}

TEST(PassWavefront, RunsEqualisersInSeriesAsTheyRunOneAfterAnother) {
  std::mt19937 generator(31);
  for (int stageCount = 1; stageCount <= 6; ++stageCount) {
    for (int aliasing = 0; aliasing < 3; ++aliasing) expectSeriesSameAsPlain(generator, stageCount, aliasing);
  }
}

}  // namespace
