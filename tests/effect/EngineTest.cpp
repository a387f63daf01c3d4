#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "AllocationCount.h"
#include "ArchiveTest.h"
#include "TestEngines.h"

namespace {

const std::string kInverterGraph = R"(<torvix><fx id="flip" type="inv"/></torvix>)";
const std::string kDelayGraph = R"(<torvix><fx id="echo" type="delay"/></torvix>)";
const std::string kEmptyGraph = "<torvix/>";

class EngineTest : public ::testing::Test {
 protected:
  void useArchive(const std::vector<ZipFixtureMember>& members) { engines.useArchive(members); }
  std::unique_ptr<VelkoranWin> makeEngine() { return engines.make(); }

  static void set(ZrVelkoranGeneric& engine, VstInt32 index, float value) {
    engine.lock();
    engine.setUserParameter(index, value);
    engine.unlock();
  }

  static std::vector<float> process(ZrVelkoranGeneric& engine, const std::vector<float>& input) {
    return processBlock(engine, input);
  }

  static std::string display(ZrVelkoranGeneric& engine, VstInt32 index) {
    char text[64] = "untouched";
    engine.getUserParameterDisplay(index, text);
    return text;
  }

  static std::vector<float> ramp(std::size_t length) {
    std::vector<float> samples(length);
    for (std::size_t i = 0; i < length; ++i) samples[i] = static_cast<float>(std::sin(0.01 * double(i)));
    return samples;
  }

  static std::vector<float> impulse(std::size_t length) {
    std::vector<float> samples(length, 0.0f);
    samples[0] = 1.0f;
    return samples;
  }

  static std::size_t firstNonZero(const std::vector<float>& samples) {
    for (std::size_t i = 0; i < samples.size(); ++i) {
      if (samples[i] != 0.0f) return i;
    }
    return samples.size();
  }

  TestEngines engines;
};

// (9^postGain - 1) / 9 with the float32 steps of the engine.
float outputFactor(float postGain) {
  const float power = std::pow(9.0f, postGain);
  return (power - 1.0f) / 9.0f;
}

TEST_F(EngineTest, WithoutArchiveTheBassFilteredInputIsScaled) {
  auto engine = makeEngine();
  EXPECT_TRUE(engine->descriptions().empty());
  EXPECT_EQ(display(*engine, 3), "");
  const std::vector<float> input = ramp(300);
  set(*engine, 1, 1.0f);
  std::vector<float> output = process(*engine, input);
  for (std::size_t i = 0; i < input.size(); ++i) ASSERT_EQ(output[i], outputFactor(1.0f) * input[i]) << i;
  EXPECT_FLOAT_EQ(outputFactor(1.0f), 8.0f / 9.0f);
  set(*engine, 1, 0.0f);
  for (float sample : process(*engine, input)) ASSERT_EQ(sample, 0.0f);
}

TEST_F(EngineTest, PreGainZeroSilencesEveryBlock) {
  useArchive({{"flip.xml", kInverterGraph}});
  auto engine = makeEngine();
  set(*engine, 0, 0.0f);
  for (float sample : process(*engine, ramp(1000))) ASSERT_EQ(sample, 0.0f);
}

// While pre gain is 0 the input filters and the graph stand still: after a
// silent stretch the sound goes on exactly as if those blocks had never
// been played, and a delay does not lose what it held.
TEST_F(EngineTest, PreGainZeroKeepsTheFiltersAndTheGraphAsTheyWere) {
  useArchive({{"echo.xml", kDelayGraph}});
  auto paused = makeEngine();
  auto reference = makeEngine();
  const float preGain = paused->getUserParameter(0);
  const std::vector<float> signal = ramp(20000);
  const std::vector<float> before(signal.begin(), signal.begin() + 3000);
  const std::vector<float> after(signal.begin() + 3000, signal.end());
  ASSERT_EQ(process(*paused, before), process(*reference, before));
  set(*paused, 0, 0.0f);
  for (int block = 0; block < 8; ++block) {
    for (float sample : process(*paused, impulse(700))) ASSERT_EQ(sample, 0.0f);
  }
  set(*paused, 0, preGain);
  set(*reference, 0, 0.0f);
  set(*reference, 0, preGain);
  const std::vector<float> continued = process(*reference, after);
  ASSERT_NE(firstNonZero(continued), continued.size());
  EXPECT_EQ(process(*paused, after), continued);
}

TEST_F(EngineTest, PreGainDrivesTheLoMidPostGain) {
  auto engine = makeEngine();
  EXPECT_EQ(display(*engine, 0), "1.297442");
  set(*engine, 0, 1.0f);
  EXPECT_EQ(display(*engine, 0), "3.436563");
  EXPECT_FLOAT_EQ(engine->getUserParameter(0), 1.0f);
  set(*engine, 0, 0.0f);
  EXPECT_EQ(engine->loMidCascade().postGain(), 0.0f);
}

TEST_F(EngineTest, NumericDisplaysFitThePublishedEightCharacters) {
  auto engine = makeEngine();
  set(*engine, 0, 1.0f);
  set(*engine, 1, 1.0f);
  set(*engine, 2, 0.0f);
  for (VstInt32 index : {0, 1, 2}) EXPECT_LE(display(*engine, index).size(), 8u) << index;
  EXPECT_EQ(display(*engine, 0), "3.436563");
}

TEST_F(EngineTest, PreBassSetsBothShelvesK) {
  auto engine = makeEngine();
  set(*engine, 2, 0.5f);
  EXPECT_EQ(engine->bassCascade().k(), 0.5f);
  EXPECT_EQ(engine->loMidCascade().k(), 0.5f);
  set(*engine, 2, 1.0f);
  EXPECT_EQ(engine->bassCascade().k(), 0.625f);
  EXPECT_EQ(engine->loMidCascade().k(), 0.25f);
  EXPECT_EQ(display(*engine, 2), "0.250000");
  set(*engine, 2, 0.0f);
  EXPECT_EQ(engine->bassCascade().k(), 0.375f);
  EXPECT_EQ(engine->loMidCascade().k(), 0.75f);
}

TEST_F(EngineTest, DescriptionsAreListedInByteOrder) {
  useArchive({{"b.xml", kEmptyGraph},
              {"A.xml", kEmptyGraph},
              {"bass.fxp", fxpBytes(1, {0.0f})},
              {"a.xml", kEmptyGraph},
              {"notes.xml.txt", "not a graph"}});
  auto engine = makeEngine();
  EXPECT_EQ(engine->descriptions(), (std::vector<std::string>{"A.xml", "a.xml", "b.xml", "notes.xml.txt"}));
}

TEST_F(EngineTest, PresetTakesTheIntegerPartOfItsValue) {
  useArchive({{"a.xml", kEmptyGraph}, {"b.xml", kInverterGraph}});
  auto engine = makeEngine();
  set(*engine, 3, 0.99f);
  EXPECT_EQ(engine->getUserParameter(3), 0.0f);
  set(*engine, 3, 1.7f);
  EXPECT_EQ(engine->getUserParameter(3), 1.0f);
  EXPECT_EQ(display(*engine, 3), "b.xml");
}

TEST_F(EngineTest, PresetOutsideTheListChangesNothing) {
  useArchive({{"a.xml", kEmptyGraph}, {"b.xml", kInverterGraph}});
  auto engine = makeEngine();
  set(*engine, 3, 1.0f);
  for (float value :
       {-1.0f, 2.0f, 1e9f, std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()}) {
    set(*engine, 3, value);
    EXPECT_EQ(engine->getUserParameter(3), 1.0f) << value;
  }
  EXPECT_FALSE(engine->loadGraph(-1));
  EXPECT_FALSE(engine->loadGraph(2));
}

TEST_F(EngineTest, GraphRunsBetweenTheFiltersAndTheOutputFactor) {
  useArchive({{"flip.xml", kInverterGraph}});
  auto engine = makeEngine();
  const float preGain = engine->loMidCascade().postGain();
  const std::vector<float> input = ramp(257);
  std::vector<float> output = process(*engine, input);
  for (std::size_t i = 0; i < input.size(); ++i) {
    const float loMid = preGain * input[i];
    ASSERT_EQ(output[i], outputFactor(0.5f) * -loMid) << i;
  }
}

TEST_F(EngineTest, FailedLoadsKeepTheGraphAndIndex) {
  useArchive({{"a.xml", kInverterGraph},
              {"b.xml", "<torvix><fx id='x' type='inv'></torvix>"},
              {"c.xml", "<other/>"},
              {"d.xml", R"(<torvix><mixer id="m" input="nowhere" input2="in"/></torvix>)"}});
  auto engine = makeEngine();
  const std::vector<float> input = ramp(64);
  const std::vector<float> before = process(*engine, input);
  for (VstInt32 n : {1, 2, 3}) {
    EXPECT_FALSE(engine->loadGraph(n)) << n;
    EXPECT_EQ(engine->getUserParameter(3), 0.0f);
    EXPECT_EQ(display(*engine, 3), "a.xml");
  }
  EXPECT_EQ(process(*engine, input), before);
}

// The louder graph leaves its audio in the pool buffer that a node of the next one is given:
// a node without effect, or an equaliser without passes, must output silence, not what the
// buffer held.
TEST_F(EngineTest, NodesThatProduceNothingAreSilentAfterALouderGraph) {
  const std::string threeInverters =
      R"(<torvix><fx id="a" type="inv"/><fx id="b" type="inv"/><fx id="c" type="inv"/></torvix>)";
  const struct {
    const char* name;
    std::string graph;
  } cases[] = {
      {"misspelt type",
       R"(<torvix><fx id="a" type="inv"/><fx id="echo" type="dealy"/><fx id="b" type="inv"/></torvix>)"},
      {"no pass", R"(<torvix><fx id="a" type="inv"/><fx id="flat" type="eq"/><fx id="b" type="inv"/></torvix>)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    useArchive({{"a.xml", threeInverters},
                {"b.xml", c.graph},
                {"flat.fxp", fxpBytes(7, {0.0f, 0.0f, 0.0f, 0.5f, 0.5f, 0.9f, 1.0f})}});
    auto engine = makeEngine();
    process(*engine, ramp(4096));
    set(*engine, 3, 1.0f);
    for (int block = 0; block < 3; ++block) {
      EXPECT_EQ(process(*engine, std::vector<float>(512, 0.0f)), std::vector<float>(512, 0.0f)) << block;
    }
    EXPECT_EQ(process(*engine, ramp(512)), std::vector<float>(512, 0.0f));
  }
}

// Windows that follow other nodes: one whose length follows a level, so changes from block
// to block, and one that a divider passes a constant far above the bound to.
const std::string kFollowedWindows = R"(<torvix>
  <fx id="tone" type="eq"/>
  <processor type="averager" id="fast" input="tone"><param set="0" value="16"/></processor>
  <processor type="divider" id="length"><param set="0" node="fast" get="0"/><param set="1" value="0.01"/>
    <param set="7" value="1e9"/></processor>
  <processor type="averager" id="moving" input="tone"><param set="0" node="length" get="2"/></processor>
  <processor type="averager" id="huge" input="in"><param set="0" node="length" get="7"/></processor>
  <mixer id="out" input="tone" input2="tone">
    <param set="0" node="moving" get="0"/><param set="1" node="huge" get="0"/>
  </mixer>
</torvix>)";

TEST_F(EngineTest, TheAudioThreadNeverAllocates) {
  useArchive({{"a.xml", kFollowedWindows}, {"b.xml", kDelayGraph}});
  auto engine = makeEngine();
  std::vector<float> input = ramp(4096), output(4096);
  float* inputs[] = {input.data()};
  float* outputs[] = {output.data()};
  for (const float description : {0.0f, 1.0f}) {
    set(*engine, 3, description);
    ASSERT_EQ(engine->getUserParameter(3), description);
    const AllocationCount count;
    for (std::size_t block = 0; block < 200; ++block) {
      for (float& sample : input) sample *= -0.999f;
      engine->processReplacing(inputs, outputs, static_cast<VstInt32>(1 + block * 37 % 4096));
    }
    EXPECT_EQ(count.allocations(), 0) << description;
  }
}

TEST_F(EngineTest, LongBlocksRunInPieces) {
  useArchive({{"flip.xml", kInverterGraph}});
  auto engine = makeEngine();
  const std::vector<float> input = ramp(BufferBank::kBufferLength + 5000);
  std::vector<float> output = process(*engine, input);
  const float preGain = engine->loMidCascade().postGain();
  for (std::size_t i = 0; i < input.size(); i += 997) {
    ASSERT_EQ(output[i], outputFactor(0.5f) * -(preGain * input[i])) << i;
  }
  EXPECT_EQ(output.back(), outputFactor(0.5f) * -(preGain * input.back()));
}

// One bad input sample costs its block and nothing more: a NaN or infinity
// (an upstream plug-in's fault) before a delay could hide it from that
// block's output, and an overflow inside the graph (a finite but absurd
// sample) before the averager keeps it in its window.
TEST_F(EngineTest, ANonFiniteSampleNeverOutlivesItsBlock) {
  const std::string averagedTone = R"(<torvix>
  <fx id="tone" type="eq"/>
  <processor id="level" type="averager" input="tone"><param set="0" value="64"/></processor>
  <mixer id="out" input="tone" input2="tone"><param set="0" node="level" get="0"/></mixer>
</torvix>)";
  useArchive({{"a.xml", kDelayGraph}, {"b.xml", averagedTone}});
  struct Case {
    float description;
    float bad;
  };
  const float infinity = std::numeric_limits<float>::infinity();
  for (const Case fault : {Case{0.0f, std::numeric_limits<float>::quiet_NaN()}, Case{0.0f, infinity},
                           Case{0.0f, -infinity}, Case{1.0f, std::numeric_limits<float>::quiet_NaN()},
                           Case{1.0f, std::numeric_limits<float>::max()}, Case{1.0f, -3e38f}}) {
    auto engine = makeEngine();
    auto clean = makeEngine();
    set(*engine, 3, fault.description);
    set(*clean, 3, fault.description);
    process(*engine, ramp(3000));
    std::vector<float> faulty = ramp(512);
    faulty[100] = fault.bad;
    EXPECT_EQ(process(*engine, faulty), std::vector<float>(512, 0.0f)) << fault.bad;
    const std::vector<float> later = ramp(6000);
    EXPECT_EQ(process(*engine, later), process(*clean, later)) << fault.bad << " in " << fault.description;
  }
}

TEST_F(EngineTest, ANewGraphRunsAtTheHostsSampleRate) {
  useArchive({{"a.xml", kDelayGraph}, {"b.xml", kDelayGraph}});
  auto engine = makeEngine();
  EXPECT_EQ(firstNonZero(process(*engine, impulse(6000))), 4410u);
  engine->forwardToProcessors(effSetSampleRate, 0, 0, nullptr, 48000.0f);
  ASSERT_TRUE(engine->loadGraph(1));
  EXPECT_EQ(firstNonZero(process(*engine, impulse(6000))), 4800u);
}

TEST_F(EngineTest, ForwardedTextRequestsNeverWriteTheCallersBuffer) {
  useArchive({{"a.xml", R"(<torvix><fx id="c" type="clip"/></torvix>)"}});
  auto engine = makeEngine();
  char text[64] = "untouched";
  engine->forwardToProcessors(effGetParamName, 4, 0, text, 0.0f);
  engine->forwardToProcessors(effGetParamDisplay, 0, 0, text, 0.0f);
  EXPECT_STREQ(text, "untouched");
}

TEST_F(EngineTest, UserParameterNamesAndUnknownIndices) {
  auto engine = makeEngine();
  char text[64] = "untouched";
  engine->getUserParameterName(3, text);
  EXPECT_STREQ(text, "untouched");
  engine->getUserParameterDisplay(4, text);
  EXPECT_STREQ(text, "untouched");
  engine->getUserParameterName(1, text);
  EXPECT_STREQ(text, "Post gain");
  EXPECT_EQ(engine->getUserParameter(7), 0.0f);
  EXPECT_EQ(engine->getPlugCategory(), kPlugCategEffect);
}

}  // namespace
