// A "Preset" change between sounds that run at different oversampling factors: no click,
// burst or thump beyond those of the same change between the sounds at one factor.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "AllocationCount.h"
#include "ArchiveTest.h"
#include "TestEngines.h"

namespace {

constexpr double kRate = 44100.0;
// Uneven blocks, so changes and the samplers' pieces fall off any power of two.
constexpr std::size_t kBlock = 300;
// The first change comes after 0.15 s of A, when everything A holds has settled; the others
// follow it at uneven steps spread over a period of the chord's lowest note, so that the
// measures do not hang on where in the waveform one change falls.
constexpr std::size_t kFirstChange = 22 * kBlock;
constexpr std::size_t kChangeStep = 53;
constexpr std::size_t kChanges = 8;
// What a listener hears as the change itself: a click or burst within 20 ms, a thump or
// swell within 50 ms.
constexpr auto kClickWindow = static_cast<std::size_t>(0.020 * kRate);
constexpr auto kThumpWindow = static_cast<std::size_t>(0.050 * kRate);
constexpr std::size_t kLength = kFirstChange + kChanges * kChangeStep + kThumpWindow;

// An A power chord held on a guitar: three strings, each with eight harmonics falling off as
// 1/k, peaking at 0.3.
std::vector<float> heldChord() {
  const double strings[] = {110.0, 164.81, 220.0};
  std::vector<double> mix(kLength, 0.0);
  for (std::size_t i = 0; i < kLength; ++i) {
    for (const double fundamental : strings) {
      for (int k = 1; k <= 8; ++k) {
        mix[i] += std::sin(2.0 * std::numbers::pi * fundamental * k * static_cast<double>(i) / kRate + 0.7 * k) / k;
      }
    }
  }
  const double peak = *std::max_element(mix.begin(), mix.end(), [](double a, double b) {
    return std::fabs(a) < std::fabs(b);
  });
  std::vector<float> samples(kLength);
  for (std::size_t i = 0; i < kLength; ++i) samples[i] = static_cast<float>(0.3 * mix[i] / std::fabs(peak));
  return samples;
}

std::string root(int factor) {
  return "<torvix rate=\"44100\" oversampling=\"" + std::to_string(factor) + "\">";
}

// A: a light crunch, a limiter rounding a gently gained signal.
std::string soundA(int factor) {
  return root(factor) + R"(<fx id="low" type="eq"/><fx id="soft" type="clip"/></torvix>)";
}

// B: a hard-clipped lead behind a high-shelf cut.
std::string soundB(int factor) {
  return root(factor) + R"(<fx id="drive" type="clip"/><fx id="tone" type="eq"/></torvix>)";
}

// The presets both sounds read: clippers (pre-gain, clip +/-, post-gain, average time in ms)
// and equalisers (order, type, passes, frequency, alpha, K, post gain).
std::vector<ZipFixtureMember> presets() {
  return {{"low.fxp", fxpBytes(7, {0.0f, 0.0f, 0.2f, 0.02f, 0.95f, 0.6f, 1.0f})},
          {"soft.fxp", fxpBytes(5, {0.125f, 0.3f, 0.3f, 0.0625f, 1.0f})},
          {"drive.fxp", fxpBytes(5, {0.5f, 0.35f, 0.35f, 0.0625f, 0.0f})},
          {"tone.fxp", fxpBytes(7, {0.0f, 1.0f, 0.2f, 0.1f, 0.95f, 0.4f, 1.0f})}};
}

std::vector<ZipFixtureMember> archive(std::vector<ZipFixtureMember> descriptions) {
  std::vector<ZipFixtureMember> members = presets();
  members.insert(members.end(), descriptions.begin(), descriptions.end());
  return members;
}

// The input in blocks of at most kBlock, with description 1 loaded before sample changeAt
// (none when changeAt is past the end).
std::vector<float> play(ZrVelkoranGeneric& engine, const std::vector<float>& input, std::size_t changeAt) {
  std::vector<float> output;
  for (std::size_t done = 0; done < input.size();) {
    if (done == changeAt) {
      EXPECT_TRUE(engine.loadGraph(1));
    }
    const std::size_t end = std::min({done + kBlock, input.size(), done < changeAt ? changeAt : input.size()});
    const std::vector<float> block = processBlock(engine, {input.begin() + static_cast<std::ptrdiff_t>(done),
                                                           input.begin() + static_cast<std::ptrdiff_t>(end)});
    output.insert(output.end(), block.begin(), block.end());
    done = end;
  }
  return output;
}

// Summed over the changes, so each is a power: squares of the largest magnitudes, energies.
struct Roughness {
  // The largest step from one sample to the next within the click window, the step into the
  // change included.
  double click = 0.0;
  // The largest magnitude within the click window.
  double burst = 0.0;
  // The energy of what differs from B playing on its own all along, within the thump window.
  double thump = 0.0;
};

void addChange(Roughness& sum, const std::vector<float>& changed, const std::vector<float>& settled,
               std::size_t changeAt) {
  double click = 0.0, burst = 0.0;
  for (std::size_t i = changeAt; i < changeAt + kClickWindow; ++i) {
    click = std::max(click, std::fabs(double(changed[i]) - double(changed[i - 1])));
    burst = std::max(burst, std::fabs(double(changed[i])));
  }
  sum.click += click * click;
  sum.burst += burst * burst;
  for (std::size_t i = changeAt; i < changeAt + kThumpWindow; ++i) {
    const double difference = double(changed[i]) - double(settled[i]);
    sum.thump += difference * difference;
  }
}

// How much larger, in dB, the change's steps may be than those of a change between equal
// factors.
struct FactorPair {
  int a;
  int b;
  double clickDb = 1.0;
};

bool withinDb(double measured, double reference, double toleranceDb) {
  return measured <= reference * std::pow(10.0, toleranceDb / 10.0);
}

class FactorChange : public ::testing::TestWithParam<FactorPair> {
 protected:
  // The changes from A at factorA to B at factorB, measured against B at factorB alone.
  Roughness changesFrom(int factorA, int factorB) {
    const std::vector<float> input = heldChord();
    auto alone = engines.make(archive({{"b.xml", soundB(factorB)}}));
    const std::vector<float> settled = play(*alone, input, kLength);
    engines.useArchive(archive({{"a.xml", soundA(factorA)}, {"b.xml", soundB(factorB)}}));
    Roughness sum;
    for (std::size_t change = 0; change < kChanges; ++change) {
      auto changing = engines.make();
      EXPECT_EQ(changing->graphOversampling(), factorA);
      const std::size_t changeAt = kFirstChange + change * kChangeStep;
      addChange(sum, play(*changing, input, changeAt), settled, changeAt);
      EXPECT_EQ(changing->graphOversampling(), factorB);
    }
    return sum;
  }

  TestEngines engines;
};

// Against the change between the sounds at the host's rate, and the one between them at the
// factor changed to: a sound at a raised rate is swapped in as if it had played all along, so
// a change into one is smoother than at the host's rate, where the new graph starts from
// silence as it always has.
TEST_P(FactorChange, IsNoRougherThanAtEqualFactors) {
  const FactorPair pair = GetParam();
  const Roughness across = changesFrom(pair.a, pair.b);
  for (const int equal : {1, pair.b}) {
    const Roughness reference = changesFrom(equal, equal);
    SCOPED_TRACE("A at " + std::to_string(pair.a) + ", B at " + std::to_string(pair.b) +
                 " against both at " + std::to_string(equal));
    EXPECT_PRED3(withinDb, across.click, reference.click, pair.clickDb);
    EXPECT_PRED3(withinDb, across.burst, reference.burst, 1.0);
    EXPECT_PRED3(withinDb, across.thump, reference.thump, 1.0);
  }
}

// Out of a sound at a raised rate: the samplers' group delay, a few host samples, is gone at
// once, so the waveform jumps ahead (1.4 dB larger steps from 16x).
constexpr double kOutOfSamplersDb = 1.6;

INSTANTIATE_TEST_SUITE_P(Oversampling, FactorChange,
                         ::testing::Values(FactorPair{1, 2}, FactorPair{1, 8}, FactorPair{1, 16}, FactorPair{2, 1},
                                           FactorPair{16, 1, kOutOfSamplersDb}, FactorPair{2, 8}, FactorPair{16, 4}),
                         [](const auto& info) {
                           return "From" + std::to_string(info.param.a) + "To" + std::to_string(info.param.b);
                         });

// After silence there is nothing to take over: the sound changed to as the chord begins plays
// as an engine that starts with it on the chord, bit for bit.
TEST_F(FactorChange, AfterSilenceStartsAsAFreshEngine) {
  constexpr std::size_t kSilence = 1000;
  const std::vector<float> held = heldChord();
  const std::vector<float> chord(held.begin(), held.begin() + 2000);
  std::vector<float> input(kSilence, 0.0f);
  input.insert(input.end(), chord.begin(), chord.end());
  auto fresh = engines.make(archive({{"b.xml", soundB(16)}}));
  std::vector<float> expected(kSilence, 0.0f);
  const std::vector<float> played = play(*fresh, chord, chord.size());
  expected.insert(expected.end(), played.begin(), played.end());
  auto changing = engines.make(archive({{"a.xml", soundA(1)}, {"b.xml", soundB(16)}}));
  EXPECT_EQ(play(*changing, input, kSilence), expected);
}

// The swap may run on the audio thread: the new graph takes the stream over in place.
TEST_F(FactorChange, TakingTheStreamOverAllocatesNothing) {
  auto engine = engines.make(archive({{"a.xml", soundA(1)}, {"b.xml", soundB(16)}}));
  play(*engine, heldChord(), kLength);
  std::unique_ptr<PreparedGraph> prepared = engine->prepareGraph(1);
  ASSERT_NE(prepared, nullptr);
  std::unique_ptr<PreparedGraph> replaced;
  {
    const AllocationCount count;
    replaced = engine->installGraph(std::move(prepared));
    EXPECT_EQ(count.allocations(), 0);
  }
  EXPECT_EQ(engine->graphOversampling(), 16);
}

}  // namespace
