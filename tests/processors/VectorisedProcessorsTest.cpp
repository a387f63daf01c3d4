// The clipper, the inverter and the delay against their plain forms, written sample by sample
// as the effects are described: random signals and settings, blocks of uneven lengths, in
// place and not, replacing and accumulating. Both must give the same bits.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <random>
#include <vector>

#include "processors/ADelay.h"
#include "processors/ZrClipper.h"
#include "processors/ZrInv.h"
#include "support/OneChannelHost.h"
#include "support/SameSamples.h"

namespace {

using PlainSample = std::function<float(float)>;

// The clipper sample by sample, from its settings and an empty window.
class PlainClipper {
 public:
  explicit PlainClipper(ZrClipper& clipper)
      : preGain(clipper.getParameter(0)),
        clipPositive(clipper.getParameter(1)),
        clipNegative(clipper.getParameter(2)),
        postGain(clipper.getParameter(3)),
        window(clipper.getWindowLength()) {}

  float operator()(float input) {
    const float x = input * (16.0f * preGain);
    float y = x;
    if (window > 1) {
      sum = sum - ring[position];
      ring[position] = std::fabs(x);
      sum = sum + ring[position];
      position = position + 1 >= window ? 0 : position + 1;
      const float average = sum / static_cast<float>(window);
      if (clipPositive < average) y = (x / average) * clipPositive;
    } else if (x > clipPositive) {
      y = clipPositive;
    } else if (x < -clipNegative) {
      y = -clipNegative;
    }
    return (16.0f * postGain) * y;
  }

 private:
  float preGain, clipPositive, clipNegative, postGain;
  VstInt32 window;
  std::array<float, ZrClipper::kMaxWindowLength> ring{};
  float sum = 0.0f;
  VstInt32 position = 0;
};

// A delay line of the given length (a length of 0 delays by one sample), from silence.
class PlainDelay {
 public:
  explicit PlainDelay(VstInt32 length) : line(static_cast<std::size_t>(std::max(length, 1)), 0.0f) {}

  float operator()(float input) {
    const float delayed = line[position];
    line[position] = input;
    position = (position + 1) % line.size();
    return delayed;
  }

 private:
  std::vector<float> line;
  std::size_t position = 0;
};

enum class Routine { replacing, accumulating, replacingInPlace };

// Runs the effect over the signal in blocks of uneven lengths and the plain form sample by
// sample, and compares the outputs; the accumulating routine adds to an output of noise.
void expectSameAsPlain(AudioEffect& effect, PlainSample plain, const std::vector<float>& signal, Routine routine) {
  const std::vector<float> previous = randomSignal(signal.size(), 77);
  std::vector<float> expected(signal.size());
  for (std::size_t i = 0; i < signal.size(); ++i) {
    expected[i] = routine == Routine::accumulating ? previous[i] + plain(signal[i]) : plain(signal[i]);
  }
  std::vector<float> input = signal;
  std::vector<float> actual = routine == Routine::accumulating ? previous : std::vector<float>(signal.size());
  if (routine == Routine::replacingInPlace) actual = signal;
  for (std::size_t done = 0, block = 0; done < signal.size(); ++block) {
    const int count = std::min(kUnevenBlocks[block % kUnevenBlocks.size()], static_cast<int>(signal.size() - done));
    float* inputs[] = {(routine == Routine::replacingInPlace ? actual.data() : input.data()) + done};
    float* outputs[] = {actual.data() + done};
    if (routine == Routine::accumulating) {
      effect.process(inputs, outputs, count);
    } else {
      effect.processReplacing(inputs, outputs, count);
    }
    done += static_cast<std::size_t>(count);
  }
  EXPECT_TRUE(sameSamples(expected, actual)) << "routine " << static_cast<int>(routine);
}

constexpr Routine kRoutines[] = {Routine::replacing, Routine::accumulating, Routine::replacingInPlace};

TEST(VectorisedClipper, GivesThePlainBitsInBothModesForRandomSettings) {
  std::mt19937 generator(11);
  std::uniform_real_distribution<float> unit(0.0f, 1.0f);
  // Limits: ordinary, crossed (the lower above the upper) and at zero, where signs count.
  auto limit = [&](int trial) { return trial % 8 == 1 ? -unit(generator) : trial % 8 == 2 ? 0.0f : unit(generator); };
  for (int trial = 0; trial < 48; ++trial) {
    ZrClipper clipper(oneChannelHost);
    clipper.setParameter(0, 0.25f * unit(generator));
    clipper.setParameter(1, limit(trial));
    clipper.setParameter(2, limit(trial + trial / 8));
    clipper.setParameter(3, 0.2f * unit(generator));
    // Hard clipping for a third of the trials, windows of 1 to 100 samples for the rest.
    clipper.setParameter(4, trial % 3 == 0 ? 0.0f : 2.3f * unit(generator));
    PlainClipper plain(clipper);
    std::vector<float> signal = randomSignal(2500, static_cast<unsigned>(trial), 2.0f);
    for (std::size_t i = 0; i < signal.size(); i += 7) signal[i] = i % 2 ? 0.0f : -0.0f;
    expectSameAsPlain(clipper, std::ref(plain), signal, kRoutines[trial % 3]);
  }
}

TEST(VectorisedClipper, LimitsSilenceAndNotANumberAsThePlainFormDoes) {
  for (float averageTime : {0.0f, 1.0f}) {
    ZrClipper clipper(oneChannelHost);
    clipper.setParameter(4, averageTime);
    PlainClipper plain(clipper);
    std::vector<float> signal(700, 0.0f);
    signal[3] = std::nanf("");
    signal[300] = -INFINITY;
    expectSameAsPlain(clipper, std::ref(plain), signal, Routine::replacing);
  }
}

TEST(VectorisedInverter, GivesThePlainBits) {
  for (Routine routine : kRoutines) {
    ZrInv inverter(oneChannelHost);
    expectSameAsPlain(inverter, [](float x) { return -x; }, randomSignal(1000, 3), routine);
  }
}

TEST(VectorisedDelay, GivesThePlainBitsForShortAndLongLines) {
  std::mt19937 generator(5);
  std::uniform_int_distribution<VstInt32> shortLength(0, 40);
  for (int trial = 0; trial < 24; ++trial) {
    ADelay delay(oneChannelHost);
    const VstInt32 length = trial < 18 ? shortLength(generator) : 4410;
    // The length is (rate x value) x 0.2 truncated: the middle of a step avoids rounding.
    delay.setParameter(0, (static_cast<float>(length) + 0.5f) / (44100.0f * 0.2f));
    PlainDelay plain(length);
    expectSameAsPlain(delay, std::ref(plain), randomSignal(9000, static_cast<unsigned>(trial)), kRoutines[trial % 3]);
  }
}

}  // namespace
