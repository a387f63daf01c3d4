// The mixer and the averager against their plain forms, sample by sample, on random signals
// and gains in blocks of uneven lengths: both must give the same bits, also in place.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "TestBufferBank.h"
#include "graph/AudioNodeFX.h"
#include "graph/AveragerAN.h"
#include "graph/MixerAudioNode.h"
#include "support/SameSamples.h"

namespace {

ParamBinding gain(VstInt32 set, float value) { return {value, nullptr, 0, set}; }

TEST(VectorisedMixer, GivesThePlainBitsForRandomGainsAndUnevenBlocks) {
  std::mt19937 generator(8);
  std::uniform_real_distribution<float> gains(-3.0f, 3.0f);
  for (const bool inPlace : {false, true}) {
    TestBufferBank bank(4096);
    AudioNodeFX first, second;
    first.outBuf = 5;
    second.outBuf = 9;
    MixerAudioNode mixer;
    mixer.input = &first;
    mixer.input2 = &second;
    mixer.outBuf = inPlace ? first.outBuf : BufferBank::kGraphOutput;
    for (int block : kUnevenBlocks) {
      const float a = gains(generator), b = gains(generator);
      mixer.params = {gain(0, a), gain(1, b)};
      const std::vector<float> in1 = randomSignal(static_cast<std::size_t>(block), 2u * block);
      const std::vector<float> in2 = randomSignal(static_cast<std::size_t>(block), 2u * block + 1);
      bank.fill(first.outBuf, in1);
      bank.fill(second.outBuf, in2);
      if (!inPlace) bank[mixer.outBuf][static_cast<std::size_t>(block)] = TestBufferBank::kUntouched;
      std::vector<float> expected(in1.size());
      for (std::size_t i = 0; i < in1.size(); ++i) expected[i] = a * in1[i] + b * in2[i];
      mixer.processBlock(bank.bank, block);
      EXPECT_TRUE(sameSamples(expected, bank.read(mixer.outBuf, in1.size()))) << "block " << block;
      if (!inPlace) {
        EXPECT_EQ(bank[mixer.outBuf][static_cast<std::size_t>(block)], TestBufferBank::kUntouched);
      }
    }
    EXPECT_TRUE(bank.guardsIntact());
  }
}

TEST(VectorisedAverager, KeepsThePlainRunningSumAcrossUnevenBlocks) {
  for (const float window : {1.0f, 2.0f, 7.0f, 100.0f}) {
    TestBufferBank bank(2048);
    AveragerAN averager;
    averager.params = {gain(0, window)};
    ASSERT_TRUE(averager.allocateHistory());
    const auto length = static_cast<int>(window);
    std::vector<float> history(static_cast<std::size_t>(length), 0.0f);
    double sum = 0.0;
    int position = 0;
    for (int block : kUnevenBlocks) {
      const std::vector<float> signal = randomSignal(static_cast<std::size_t>(block), 3u * block);
      bank.fill(BufferBank::kGraphInput, signal);
      averager.processBlock(bank.bank, block);
      for (float x : signal) {
        position = (position + 1) % length;
        sum -= history[static_cast<std::size_t>(position)];
        history[static_cast<std::size_t>(position)] = std::fabs(x);
        sum += history[static_cast<std::size_t>(position)];
      }
      const float expected = static_cast<float>(sum) / static_cast<float>(length);
      EXPECT_EQ(averager.getValue(0), expected) << "window " << window << ", block " << block;
    }
  }
}

}  // namespace
