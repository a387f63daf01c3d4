// An averager asked for a triangular window (parameter 1 = 2): its level is the mean of the
// latest samples weighed 1, 2, ... half, ... 2, 1, whatever the block lengths, and on a steady
// tone it ripples far less than the flat window of the same length.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <vector>

#include "TestBufferBank.h"
#include "graph/AudioNodeFX.h"
#include "graph/AveragerAN.h"

namespace {

constexpr int kEntry = 6;
constexpr int kOtherEntry = 7;

void bindConstant(AudioNode& node, VstInt32 set, float value) {
  ParamBinding binding;
  binding.set = set;
  binding.value = value;
  node.params.push_back(binding);
}

// An averager of the given window and shape measuring a source's entry, set up as the builder
// sets it up.
struct ShapedAverager {
  ShapedAverager(float window, float shape, int entry) {
    source.outBuf = entry;
    averager.input = &source;
    bindConstant(averager, 0, window);
    bindConstant(averager, AveragerAN::kShapeParameter, shape);
    EXPECT_TRUE(averager.allocateHistory());
  }

  AudioNodeFX source;
  AveragerAN averager;
};

// The straightforward form: the latest samples weighed by a triangle of the given half
// length (samples before the first count as 0), over the sum of the weights.
double triangleLevel(const std::vector<float>& signal, std::size_t end, int half) {
  double sum = 0.0;
  for (int k = 0; k < 2 * half && static_cast<std::size_t>(k) < end; ++k) {
    const int weight = k < half ? k + 1 : 2 * half - 1 - k;
    sum += weight * std::fabs(static_cast<double>(signal[end - 1 - static_cast<std::size_t>(k)]));
  }
  return sum / (static_cast<double>(half) * half);
}

std::vector<float> noise(std::size_t length) {
  std::mt19937 generator(17);
  std::uniform_real_distribution<float> uniform(-1.0f, 1.0f);
  std::vector<float> samples(length);
  for (float& sample : samples) sample = uniform(generator);
  return samples;
}

struct TriangleCase {
  const char* name;
  float window;
  int half;
  std::vector<int> blocks;
};

const TriangleCase kTriangleCases[] = {
    {"the shortest window is two halves of one sample", 1.0f, 1, {1}},
    {"an even window, sample by sample", 8.0f, 4, {1}},
    {"an odd window drops its last sample", 9.0f, 4, {7}},
    {"uneven blocks", 64.0f, 32, {3, 50, 1, 17}},
    {"a window longer than the blocks", 2264.0f, 1132, {512, 37, 1000}},
};

class AveragerTriangle : public ::testing::TestWithParam<TriangleCase> {};

TEST_P(AveragerTriangle, WeighsTheLatestSamplesByATriangle) {
  const TriangleCase& c = GetParam();
  const std::vector<float> signal = noise(6000);
  TestBufferBank bank;
  ShapedAverager shaped(c.window, AveragerAN::kTriangle, kEntry);
  EXPECT_EQ(shaped.averager.windowSamples(), 2 * c.half) << c.name;
  for (std::size_t done = 0, piece = 0; done < signal.size(); piece = (piece + 1) % c.blocks.size()) {
    const std::size_t count =
        std::min<std::size_t>(static_cast<std::size_t>(c.blocks[piece]), signal.size() - done);
    bank.fill(kEntry, std::vector<float>(signal.begin() + static_cast<std::ptrdiff_t>(done),
                                         signal.begin() + static_cast<std::ptrdiff_t>(done + count)));
    shaped.averager.processBlock(bank.bank, static_cast<VstInt32>(count));
    done += count;
    const double expected = triangleLevel(signal, done, c.half);
    ASSERT_NEAR(shaped.averager.getValue(AveragerAN::kLevel), expected, 2e-6 * expected + 1e-7)
        << c.name << " after " << done << " samples";
  }
  EXPECT_TRUE(bank.guardsIntact());
}

INSTANTIATE_TEST_SUITE_P(Averager, AveragerTriangle, ::testing::ValuesIn(kTriangleCases));

// The peak-to-peak swing of an averager's level, read every block, once a steady tone has
// filled its window; relative to the mean level.
double relativeRipple(float shape, double hertz) {
  constexpr double kRate = 44100.0;
  constexpr int kBlock = 64;
  TestBufferBank bank(kBlock);
  ShapedAverager shaped(2048.0f, shape, kEntry);
  std::vector<float> block(kBlock);
  double lowest = 1e9, highest = 0.0;
  for (int n = 0, blocks = 0; blocks < 400; ++blocks) {
    for (float& sample : block)
      sample = static_cast<float>(std::sin(2.0 * std::numbers::pi * hertz * n++ / kRate));
    bank.fill(kEntry, block);
    shaped.averager.processBlock(bank.bank, kBlock);
    if (blocks < 100) continue;
    const double level = shaped.averager.getValue(AveragerAN::kLevel);
    lowest = std::min(lowest, level);
    highest = std::max(highest, level);
  }
  return (highest - lowest) / (0.5 * (highest + lowest));
}

TEST(AveragerTriangle, RipplesFarLessThanTheFlatWindowOnASteadyTone) {
  for (const double hertz : {251.0, 997.0, 2503.0}) {
    const double flat = relativeRipple(1.0f, hertz), triangle = relativeRipple(AveragerAN::kTriangle, hertz);
    EXPECT_GT(flat, 1e-3) << hertz << " Hz";
    EXPECT_LT(triangle, flat / 10.0) << hertz << " Hz";
  }
}

// Measured in one loop with another averager, each gives what it gives alone.
TEST(AveragerTriangle, MeasuresWithAnotherAsAlone) {
  const std::vector<float> signal = noise(3000), other = noise(3001);
  TestBufferBank together, alone;
  together.fill(kEntry, signal);
  together.fill(kOtherEntry, std::vector<float>(other.begin() + 1, other.end()));
  alone.fill(kEntry, signal);
  alone.fill(kOtherEntry, std::vector<float>(other.begin() + 1, other.end()));
  for (const float secondShape : {1.0f, AveragerAN::kTriangle}) {
    ShapedAverager pairFirst(300.0f, AveragerAN::kTriangle, kEntry),
        pairSecond(500.0f, secondShape, kOtherEntry);
    ShapedAverager first(300.0f, AveragerAN::kTriangle, kEntry), second(500.0f, secondShape, kOtherEntry);
    ASSERT_TRUE(pairFirst.averager.measuresWithAnother(pairSecond.averager));
    AveragerAN::processBlocks(pairFirst.averager, pairSecond.averager, together.bank, 3000);
    first.averager.processBlock(alone.bank, 3000);
    second.averager.processBlock(alone.bank, 3000);
    EXPECT_EQ(pairFirst.averager.getValue(AveragerAN::kLevel), first.averager.getValue(AveragerAN::kLevel));
    EXPECT_EQ(pairSecond.averager.getValue(AveragerAN::kLevel), second.averager.getValue(AveragerAN::kLevel));
  }
}

// Any shape other than the triangle, and a shape read from another node, keep the flat window.
TEST(AveragerTriangle, OtherShapesKeepTheFlatWindow) {
  TestBufferBank bank(9);
  bank.fill(kEntry, {1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f});
  for (const float shape : {1.0f, 3.0f, 0.0f}) {
    ShapedAverager shaped(9.0f, shape, kEntry);
    shaped.averager.processBlock(bank.bank, 9);
    EXPECT_EQ(shaped.averager.windowSamples(), 9) << shape;
    EXPECT_EQ(shaped.averager.getValue(AveragerAN::kLevel), 2.0f / 9.0f) << shape;
  }
  AudioNodeFX shapeSource;
  AveragerAN bound;
  bindConstant(bound, 0, 9.0f);
  ParamBinding binding;
  binding.set = AveragerAN::kShapeParameter;
  binding.source = &shapeSource;
  binding.value = AveragerAN::kTriangle;
  bound.params.push_back(binding);
  EXPECT_FALSE(bound.triangular());
}

// Clearing empties both halves: the level starts again from 0.
TEST(AveragerTriangle, ClearingStartsFromEmpty) {
  TestBufferBank bank(8);
  ShapedAverager shaped(8.0f, AveragerAN::kTriangle, kEntry);
  bank.fill(kEntry, std::vector<float>(8, 1.0f));
  shaped.averager.processBlock(bank.bank, 8);
  EXPECT_EQ(shaped.averager.getValue(AveragerAN::kLevel), 1.0f);
  shaped.averager.clearState();
  bank.fill(kEntry, {0.5f});
  shaped.averager.processBlock(bank.bank, 1);
  EXPECT_EQ(shaped.averager.getValue(AveragerAN::kLevel), 0.5f / 16.0f);
}

}  // namespace
