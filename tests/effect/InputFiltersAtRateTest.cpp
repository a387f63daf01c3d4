// The engine's input filters under a graph that names its rate: designed for the response they
// have there whatever the host's rate, through rate changes, "Preset" changes and "Pre bass";
// under a graph that names none, or where the host runs at the named rate, as they always were.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "AllocationCount.h"
#include "ArchiveTest.h"
#include "TestEngines.h"
#include "support/MagnitudeResponse.h"

namespace {

// The shipped input filters: a low shelf near 150 Hz in three passes and a bell near 490 Hz.
std::vector<ZipFixtureMember> inputFilterPresets() {
  return {{"bass.fxp", fxpBytes(7, {0.0f, 0.0f, 0.3f, 0.015f, 0.95f, 0.5f, 1.0f})},
          {"lo_mid.fxp", fxpBytes(7, {1.0f, 0.0f, 0.1f, 0.29f, 0.95f, 0.5f, 1.0f})}};
}

// Description 0 names rate (none when empty); description 1 names none. Both hold an equaliser
// of their own at its defaults.
std::vector<ZipFixtureMember> archive(const std::string& rate) {
  const std::string named = rate.empty() ? "<torvix>" : "<torvix rate=\"" + rate + "\">";
  std::vector<ZipFixtureMember> members = inputFilterPresets();
  members.push_back({"a.xml", named + "<fx id=\"tone\" type=\"eq\"/></torvix>"});
  members.push_back({"b.xml", "<torvix><fx id=\"tone\" type=\"eq\"/></torvix>"});
  return members;
}

constexpr VstInt32 kNamed = 0;
constexpr VstInt32 kRaw = 1;

void setHostRate(ZrVelkoranGeneric& engine, float rate) {
  engine.forwardToProcessors(effSetSampleRate, 0, 0, nullptr, rate);
}

// The bass filter, then the lo-mid filter, over one second of impulse: copies of the engine's
// cascades, so the engine's own histories stay as they are.
std::vector<float> inputFiltersImpulse(const ZrVelkoranGeneric& engine, float rate) {
  IIRCascade bass = engine.bassCascade();
  IIRCascade loMid = engine.loMidCascade();
  bass.clearHistories();
  loMid.clearHistories();
  std::vector<float> impulse(static_cast<std::size_t>(rate), 0.0f), between(impulse.size()),
      response(impulse.size());
  impulse[0] = 1.0f;
  float* stages[] = {impulse.data(), between.data(), response.data()};
  bass.processCascade(&stages[0], &stages[1], static_cast<VstInt32>(impulse.size()));
  loMid.processCascade(&stages[1], &stages[2], static_cast<VstInt32>(impulse.size()));
  return response;
}

// Below 4 kHz: the shelf's corner and the bell's edges with room.
std::vector<double> responseDb(const ZrVelkoranGeneric& engine, float rate) {
  return magnitudeDb(inputFiltersImpulse(engine, rate), rate, frequenciesBelow(4000.0));
}

std::vector<float> coefficientsOf(const IIRCascade& cascade) {
  const IIRCascade::Coefficients c = cascade.coefficients();
  return {c.b0, c.b1, c.b2, c.a0, c.a1, c.a2};
}

// How the engine comes to run the graph that names 44.1 kHz at the host's rate with "Pre bass"
// set: the rate and "Pre bass" set under it in either order, or both set under the graph that
// names none and the "Preset" changed last.
enum class Steps { kRateThenPreBass, kPreBassThenRate, kPresetChangeLast };

struct AtRateCase {
  const char* name;
  float hostRate;
  float preBass;
  Steps steps;
};

class InputFiltersAtRate : public ::testing::TestWithParam<AtRateCase> {
 protected:
  // The response at 44.1 kHz, where the named rate is the host's.
  std::vector<double> reference(float preBass) {
    auto engine = engines.make(archive("44100"));
    engine->setUserParameter(ZrVelkoranGeneric::kPreBass, preBass);
    return responseDb(*engine, 44100.0f);
  }

  std::unique_ptr<VelkoranWin> runAtRate(const AtRateCase& c) {
    auto engine = engines.make(archive("44100"));
    if (c.steps == Steps::kPresetChangeLast) {
      EXPECT_TRUE(engine->loadGraph(kRaw));
    }
    if (c.steps == Steps::kPreBassThenRate) engine->setUserParameter(ZrVelkoranGeneric::kPreBass, c.preBass);
    setHostRate(*engine, c.hostRate);
    if (c.steps != Steps::kPreBassThenRate) engine->setUserParameter(ZrVelkoranGeneric::kPreBass, c.preBass);
    if (c.steps == Steps::kPresetChangeLast) {
      EXPECT_TRUE(engine->loadGraph(kNamed));
    }
    return engine;
  }

  TestEngines engines;
};

TEST_P(InputFiltersAtRate, KeepTheirResponseAtTheNamedRate) {
  const AtRateCase& c = GetParam();
  auto engine = runAtRate(c);
  EXPECT_LE(largestDifference(reference(c.preBass), responseDb(*engine, c.hostRate)), 0.2);
}

INSTANTIATE_TEST_SUITE_P(
    NamedRate44100, InputFiltersAtRate,
    ::testing::Values(AtRateCase{"at96kFullBass", 96000.0f, 1.0f, Steps::kRateThenPreBass},
                      AtRateCase{"at96kNoBass", 96000.0f, 0.0f, Steps::kRateThenPreBass},
                      AtRateCase{"at96kBassBeforeTheRate", 96000.0f, 0.8f, Steps::kPreBassThenRate},
                      AtRateCase{"at96kAfterAPresetChange", 96000.0f, 0.2f, Steps::kPresetChangeLast},
                      AtRateCase{"at48kAfterAPresetChange", 48000.0f, 1.0f, Steps::kPresetChangeLast},
                      AtRateCase{"at192k", 192000.0f, 0.0f, Steps::kRateThenPreBass},
                      AtRateCase{"at88k2", 88200.0f, 1.0f, Steps::kRateThenPreBass}),
    [](const auto& info) { return std::string(info.param.name); });

// Designed at the host's rate, as they always were, the bell's width moves by decibels at
// 96 kHz: the comparison above tells the two apart.
TEST_F(InputFiltersAtRate, UnderAGraphWithoutARateMoveWithTheHostRate) {
  auto engine = engines.make(archive("44100"));
  ASSERT_TRUE(engine->loadGraph(kRaw));
  setHostRate(*engine, 96000.0f);
  engine->setUserParameter(ZrVelkoranGeneric::kPreBass, 0.0f);
  EXPECT_GT(largestDifference(reference(0.0f), responseDb(*engine, 96000.0f)), 1.0);
}

// Back under a graph without a rate, at the host's rate raw: the very coefficients of an engine
// that never played another.
TEST_F(InputFiltersAtRate, APresetChangeToAGraphWithoutARateDesignsAtTheHostRate) {
  auto raw = engines.make(archive(""));
  auto named = engines.make(archive("44100"));
  for (ZrVelkoranGeneric* engine : {raw.get(), named.get()}) {
    setHostRate(*engine, 96000.0f);
    engine->setUserParameter(ZrVelkoranGeneric::kPreBass, 0.9f);
  }
  EXPECT_NE(coefficientsOf(named->loMidCascade()), coefficientsOf(raw->loMidCascade()));
  ASSERT_TRUE(named->loadGraph(kRaw));
  EXPECT_EQ(coefficientsOf(named->bassCascade()), coefficientsOf(raw->bassCascade()));
  EXPECT_EQ(coefficientsOf(named->loMidCascade()), coefficientsOf(raw->loMidCascade()));
}

// A "Preset" change may be swapped in on the audio thread: the filters are designed in place.
TEST_F(InputFiltersAtRate, AreRedesignedWithoutAllocating) {
  auto engine = engines.make(archive("44100"));
  ASSERT_TRUE(engine->loadGraph(kRaw));
  setHostRate(*engine, 96000.0f);
  std::unique_ptr<PreparedGraph> prepared = engine->prepareGraph(kNamed);
  ASSERT_NE(prepared, nullptr);
  const std::vector<float> before = coefficientsOf(engine->loMidCascade());
  std::unique_ptr<PreparedGraph> replaced;
  {
    const AllocationCount count;
    replaced = engine->installGraph(std::move(prepared));
    engine->setUserParameter(ZrVelkoranGeneric::kPreBass, 0.3f);
    EXPECT_EQ(count.allocations(), 0);
  }
  EXPECT_NE(coefficientsOf(engine->loMidCascade()), before);
}

// Where the host runs at the named rate, every sample is the one of graphs that name none,
// through "Preset" changes both ways and "Pre bass" changes between them.
struct SameRateCase {
  float hostRate;
  const char* rate;
};

class InputFiltersAtTheNamedRate : public ::testing::TestWithParam<SameRateCase> {
 protected:
  std::vector<float> play(const std::string& rate) {
    auto engine = engines.make(archive(rate));
    setHostRate(*engine, GetParam().hostRate);
    std::vector<float> output;
    const auto playFor = [&](VstInt32 length) {
      std::vector<float> input(static_cast<std::size_t>(length));
      for (std::size_t i = 0; i < input.size(); ++i) input[i] = 0.4f * std::sin(0.031f * float(output.size() + i));
      const std::vector<float> block = processBlock(*engine, input);
      output.insert(output.end(), block.begin(), block.end());
    };
    playFor(1000);
    engine->setUserParameter(ZrVelkoranGeneric::kPreBass, 0.9f);
    playFor(777);
    EXPECT_TRUE(engine->loadGraph(kRaw));
    playFor(1000);
    engine->setUserParameter(ZrVelkoranGeneric::kPreBass, 0.1f);
    playFor(555);
    EXPECT_TRUE(engine->loadGraph(kNamed));
    playFor(1000);
    return output;
  }

  TestEngines engines;
};

TEST_P(InputFiltersAtTheNamedRate, PlayAsUnderGraphsWithoutARate) {
  EXPECT_EQ(play(GetParam().rate), play(""));
}

INSTANTIATE_TEST_SUITE_P(BitForBit, InputFiltersAtTheNamedRate,
                         ::testing::Values(SameRateCase{44100.0f, "44100"}, SameRateCase{48000.0f, "48000"},
                                           SameRateCase{96000.0f, "96000"}));

}  // namespace
