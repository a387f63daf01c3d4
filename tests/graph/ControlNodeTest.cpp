// Dividers and averagers, against hand-computed values and a direct model of the window.

#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <limits>
#include <vector>

#include "TestBindings.h"
#include "TestBufferBank.h"
#include "TestSignal.h"
#include "graph/AudioNodeFX.h"
#include "graph/AveragerAN.h"
#include "graph/DividerAN.h"

namespace {

void bindRatio(DividerAN& node, float numerator, float denominator) {
  bindConstant(node, 0, numerator);
  bindConstant(node, 1, denominator);
}

float ratioOf(float numerator, float denominator) {
  DividerAN node;
  bindRatio(node, numerator, denominator);
  return node.getValue(DividerAN::kRatio);
}

TEST(Divider, WithoutBindingsEveryValueIsOne) {
  DividerAN node;
  EXPECT_EQ(node.getValue(0), 1.0f);
  EXPECT_EQ(node.getValue(1), 1.0f);
  EXPECT_EQ(node.getValue(DividerAN::kRatio), 1.0f);
}

TEST(Divider, RatioIsBoundedAboveOnly) {
  EXPECT_EQ(ratioOf(3.0f, 0.5f), 6.0f);
  EXPECT_EQ(ratioOf(300.0f, 2.0f), 100.0f);
  EXPECT_EQ(ratioOf(100.0f, 1.0f), 100.0f);
  EXPECT_EQ(ratioOf(1.0f, 0.0f), 100.0f);
  EXPECT_EQ(ratioOf(-5.0f, 1.0f), -5.0f);
  EXPECT_EQ(ratioOf(-1e30f, 1e-30f), -std::numeric_limits<float>::infinity());
  EXPECT_EQ(ratioOf(1.0f, 3.0f), static_cast<float>(1.0 / 3.0));
  EXPECT_EQ(ratioOf(99.99999f, 1.0f), 99.99999f);
}

TEST(Divider, RatioThatIsNotANumberIsBounded) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float infinity = std::numeric_limits<float>::infinity();
  EXPECT_EQ(ratioOf(nan, 1.0f), 100.0f);
  EXPECT_EQ(ratioOf(infinity, infinity), 100.0f);
}

TEST(Divider, PassesOtherParametersOn) {
  DividerAN node;
  bindConstant(node, 7, 0.25f);
  EXPECT_EQ(node.getValue(7), 0.25f);
  EXPECT_EQ(node.getValue(8), 1.0f);
}

TEST(Divider, ReadsItsSourcesAtEveryCall) {
  DividerAN numerator;
  bindRatio(numerator, 2.0f, 1.0f);
  DividerAN node;
  bindSource(node, 0, numerator, 2);
  bindConstant(node, 1, 4.0f);
  EXPECT_EQ(node.getValue(2), 0.5f);
  numerator.params[0].value = 6.0f;
  EXPECT_EQ(node.getValue(2), 1.5f);
}

// An averager measuring bank entry 6, with its window given as a constant.
class AveragerRun : public ::testing::Test {
 protected:
  static constexpr int kEntry = 6;

  void SetUp() override {
    source.outBuf = kEntry;
    averager.input = &source;
  }

  // As the builder sets a constant window up.
  void window(float length) {
    bindConstant(averager, 0, length);
    ASSERT_TRUE(averager.allocateHistory());
  }

  float feed(const std::vector<float>& samples) {
    bank.fill(kEntry, samples);
    averager.processBlock(bank.bank, static_cast<VstInt32>(samples.size()));
    return averager.getValue(AveragerAN::kLevel);
  }

  TestBufferBank bank;
  AudioNodeFX source;
  AveragerAN averager;
};

TEST_F(AveragerRun, MeasuresTheMeanAbsoluteLevel) {
  window(4.0f);
  EXPECT_EQ(feed({1.0f, -1.0f, 1.0f, -1.0f}), 1.0f);
}

TEST_F(AveragerRun, ForgetsSamplesThatLeaveTheWindow) {
  window(4.0f);
  EXPECT_EQ(feed({0.5f, 0.5f, 0.5f, 0.5f}), 0.5f);
  EXPECT_EQ(feed({0.0f, 0.0f, 0.0f, 0.0f}), 0.0f);
}

TEST_F(AveragerRun, EntriesNotYetWrittenCountAsZero) {
  window(4.0f);
  EXPECT_EQ(feed({-1.0f}), 0.25f);
  EXPECT_EQ(feed({0.0f, 0.0f, 0.0f}), 0.25f);
  EXPECT_EQ(feed({0.0f}), 0.0f);
}

TEST_F(AveragerRun, WindowLengthIsTruncated) {
  window(2.9f);
  EXPECT_EQ(feed({1.0f, 1.0f, 0.0f}), 0.5f);
  EXPECT_EQ(feed({0.0f}), 0.0f);
}

TEST_F(AveragerRun, OtherValuesAreOne) {
  window(4.0f);
  feed({0.5f});
  EXPECT_EQ(averager.getValue(1), 1.0f);
  EXPECT_EQ(averager.getValue(-1), 1.0f);
}

TEST_F(AveragerRun, ANewWindowLengthStartsFromAnEmptyHistory) {
  window(4.0f);
  feed({1.0f, 1.0f, 1.0f, 1.0f});
  averager.params[0].value = 2.0f;
  EXPECT_EQ(feed({0.5f}), 0.25f);
  EXPECT_EQ(averager.getValue(0), 0.25f);
}

// Samples that are multiples of 1/1024 keep every sum exact, so the running sum must
// agree exactly with a sum over the window computed afresh.
std::vector<float> quantised(const std::vector<float>& signal) {
  std::vector<float> result;
  for (float sample : signal) result.push_back(std::round(sample * 1024.0f) / 1024.0f);
  return result;
}

float windowMean(const std::vector<float>& samples, std::size_t end, std::size_t window) {
  double sum = 0.0;
  for (std::size_t i = end > window ? end - window : 0; i < end; ++i) sum += std::fabs(samples[i]);
  return static_cast<float>(sum) / static_cast<float>(window);
}

TEST_F(AveragerRun, AgreesWithAFreshSumAfterEverySample) {
  window(37.0f);
  const std::vector<float> signal = quantised(testSignal(500));
  for (std::size_t i = 0; i < signal.size(); ++i) {
    ASSERT_EQ(feed({signal[i]}), windowMean(signal, i + 1, 37)) << i;
  }
}

TEST_F(AveragerRun, WholeBlockAndUnevenPiecesGiveTheSameLevels) {
  window(256.0f);
  const std::vector<float> signal = testSignal(3000);
  const float whole = feed(signal);
  AveragerAN pieces;
  pieces.input = &source;
  pieces.params = averager.params;
  ASSERT_TRUE(pieces.allocateHistory());
  const std::size_t sizes[] = {1, 7, 256, 3, 500, 90};
  for (std::size_t done = 0, piece = 0; done < signal.size(); piece = (piece + 1) % 6) {
    const std::size_t count = std::min(sizes[piece], signal.size() - done);
    bank.fill(kEntry, std::vector<float>(signal.begin() + done, signal.begin() + done + count));
    pieces.processBlock(bank.bank, static_cast<VstInt32>(count));
    done += count;
  }
  EXPECT_EQ(pieces.getValue(0), whole);
  EXPECT_NEAR(whole, windowMean(signal, signal.size(), 256), 1e-6f);
}

TEST_F(AveragerRun, RunningSumKeepsSixtyFourBits) {
  // In 32 bits the large samples would swamp the small ones; the 64-bit sum gets them
  // back exactly once the large samples have left the window.
  window(3.0f);
  feed({16777216.0f, 1.0f, 1.0f});
  EXPECT_EQ(feed({1.0f}), 1.0f);
}

TEST_F(AveragerRun, ReadsOnlyTheBlockItIsGiven) {
  window(4.0f);
  bank.fill(kEntry, {1.0f, 1.0f, 1.0f, 1.0f});
  averager.processBlock(bank.bank, 2);
  EXPECT_EQ(averager.getValue(0), 0.5f);
  EXPECT_TRUE(bank.guardsIntact());
}

// A window read from another node at run time: here a divider's passed-on parameter.
class BoundWindow : public AveragerRun {
 protected:
  void SetUp() override {
    AveragerRun::SetUp();
    bindConstant(length, 7, 4.0f);
    bindSource(averager, 0, length, 7);
    ASSERT_TRUE(averager.allocateHistory());
  }

  DividerAN length;
};

TEST_F(BoundWindow, WindowFollowsItsSource) {
  EXPECT_EQ(feed({1.0f, 1.0f, 1.0f, 1.0f}), 1.0f);
  length.params[0].value = 8.0f;
  EXPECT_EQ(feed({1.0f, 1.0f}), 0.25f);
}

TEST_F(BoundWindow, WindowThatIsNoLengthKeepsThePreviousOne) {
  feed({1.0f, 1.0f});
  for (float invalid : {0.99f, 0.0f, -4.0f, std::numeric_limits<float>::quiet_NaN(),
                        -std::numeric_limits<float>::infinity()}) {
    length.params[0].value = invalid;
    EXPECT_EQ(feed({1.0f}), 0.75f) << invalid;
    feed({0.0f});
    feed({1.0f, 1.0f});
  }
}

TEST_F(BoundWindow, WithoutAnyValidWindowNothingIsMeasured) {
  length.params[0].value = 0.0f;
  EXPECT_EQ(feed({1.0f, 1.0f}), 0.0f);
  length.params[0].value = 2.0f;
  EXPECT_EQ(feed({1.0f}), 0.5f);
}

// Longer windows than the history made at build are held to it, however long.
TEST_F(BoundWindow, WindowLongerThanTheBoundIsHeldToIt) {
  const float bound = static_cast<float>(AveragerAN::kMaxFollowedWindow);
  for (float longer : {bound, bound + 1.0f, 1e12f, std::numeric_limits<float>::infinity()}) {
    length.params[0].value = 4.0f;
    EXPECT_EQ(feed({1.0f, 1.0f, 1.0f, 1.0f}), 1.0f);
    length.params[0].value = longer;
    EXPECT_EQ(feed({1.0f, 1.0f, 1.0f, 1.0f}), 4.0f / bound) << longer;
    EXPECT_EQ(feed(std::vector<float>(AveragerAN::kMaxFollowedWindow, 1.0f)), 1.0f) << longer;
  }
}

TEST(AveragerWindow, ConstantWindowsRunFromOneToTheMaximum) {
  EXPECT_TRUE(AveragerAN::isValidWindow(1.0f));
  EXPECT_TRUE(AveragerAN::isValidWindow(static_cast<float>(AveragerAN::kMaxWindowLength)));
  EXPECT_FALSE(
      AveragerAN::isValidWindow(std::nextafter(static_cast<float>(AveragerAN::kMaxWindowLength), INFINITY)));
  EXPECT_FALSE(AveragerAN::isValidWindow(0.999f));
  EXPECT_FALSE(AveragerAN::isValidWindow(-std::numeric_limits<float>::infinity()));
  EXPECT_FALSE(AveragerAN::isValidWindow(std::numeric_limits<float>::quiet_NaN()));
}

// The history each averager gets at build: its constant window, or the bound when the window
// follows another node; without it no window can be set.
TEST(AveragerWindow, HistoryComesFromTheBuild) {
  AveragerAN unbound, constant, followed;
  bindConstant(constant, 0, 300.7f);
  DividerAN source;
  bindSource(followed, 0, source, 2);
  EXPECT_EQ(unbound.historyNeeded(), 1);
  EXPECT_EQ(constant.historyNeeded(), 300);
  EXPECT_EQ(followed.historyNeeded(), AveragerAN::kMaxFollowedWindow);
  EXPECT_EQ(constant.constantWindow(), 300.7f);
  EXPECT_EQ(followed.constantWindow(), std::nullopt);
  EXPECT_FALSE(constant.setWindowLength(4.0f));
  ASSERT_TRUE(constant.allocateHistory());
  EXPECT_TRUE(constant.setWindowLength(1e9f));
}

}  // namespace
