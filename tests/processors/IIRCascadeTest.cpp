#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <random>
#include <vector>

#include "TestCascade.h"
#include "processors/IIRCascade.h"
#include "support/GuardedBuffer.h"

namespace {

// The equaliser as described, in double precision throughout: an
// independent model to compare the float32 cascade with.
class ReferenceEqualiser {
 public:
  ReferenceEqualiser(const Settings& settings, double sampleRate) : settings(settings) {
    const double p = settings.frequency;
    const double w = (std::exp(5.0 * p) - 1.0) / (std::exp(5.0) - 1.0) * 44100.0 / sampleRate;
    if (settings.order == 2) {
      const double a = settings.alpha;
      const double c = std::cos(std::numbers::pi * w);
      b = {a, -(1.0 + a) * c, 1.0};
      a1 = -(1.0 + a) * c;
      a2 = a;
    } else {
      const double t = 1.0 - p * 44100.0 / sampleRate;
      b = {t, -1.0, 0.0};
      a1 = -t;
      a2 = 0.0;
    }
    gain = std::exp((settings.k - 0.5) * 6.0);
    if (settings.passes == 2) gain = std::sqrt(gain);
  }

  std::vector<double> run(const std::vector<float>& input) const {
    std::vector<double> signal(input.begin(), input.end());
    const bool highShelfMix = settings.order != 2 && settings.highShelf;
    const double weight = highShelfMix ? gain - 1.0 : 1.0 - gain;
    for (int pass = 0; pass < settings.passes; ++pass) {
      double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
      for (double& sample : signal) {
        const double x = sample;
        const double y = b[0] * x + b[1] * x1 + b[2] * x2 - a1 * y1 - a2 * y2;
        sample = 0.5 * ((1.0 + gain) * x + weight * y);
        x2 = x1, x1 = x, y2 = y1, y1 = y;
      }
    }
    for (double& sample : signal) sample *= settings.postGain;
    return signal;
  }

 private:
  Settings settings;
  std::array<double, 3> b{};
  double a1 = 0, a2 = 0, gain = 1;
};

std::vector<float> noise(std::size_t length, unsigned seed = 7) {
  std::mt19937 generator(seed);
  std::uniform_real_distribution<float> distribution(-1.0f, 1.0f);
  std::vector<float> signal(length);
  for (float& sample : signal) sample = distribution(generator);
  return signal;
}

// A sine of the given frequency as a fraction of the Nyquist frequency.
std::vector<float> sine(std::size_t length, double fractionOfNyquist) {
  std::vector<float> signal(length);
  for (std::size_t i = 0; i < length; ++i) {
    signal[i] = static_cast<float>(std::sin(std::numbers::pi * fractionOfNyquist * static_cast<double>(i)));
  }
  return signal;
}

// Peak magnitude over the last quarter of a long response to a unit-amplitude
// signal: the steady-state gain once the start-up transient has died away.
double steadyGain(TestCascade& filter, const std::vector<float>& signal) {
  const std::vector<float> output = filter.run(signal);
  double peak = 0.0;
  for (std::size_t i = output.size() * 3 / 4; i < output.size(); ++i) {
    peak = std::max(peak, std::fabs(static_cast<double>(output[i])));
  }
  return peak;
}

double boostOf(double k) { return std::exp((k - 0.5) * 6.0); }

const std::vector<float> kDc(20000, 1.0f);
const std::vector<float> kNyquist = [] {
  std::vector<float> signal(20000);
  for (std::size_t i = 0; i < signal.size(); ++i) signal[i] = i % 2 == 0 ? 1.0f : -1.0f;
  return signal;
}();

TEST(IIRCascadeMix, NeutralKPassesInputUnchangedWhateverTheCoefficients) {
  const std::vector<float> input = noise(1000);
  for (int order : {1, 2}) {
    TestCascade filter({.order = order, .frequency = 0.3f, .k = 0.5f, .passes = 4});
    EXPECT_EQ(filter.run(input), input) << "order " << order;
  }
  TestCascade scaled({.k = 0.5f, .passes = 3, .postGain = 0.75f});
  const std::vector<float> output = scaled.run(input);
  for (std::size_t i = 0; i < input.size(); ++i) ASSERT_EQ(output[i], 0.75f * input[i]) << i;
}

TEST(IIRCascadeMix, BeforeTheFirstDesignAPassScalesByHalfOfOnePlusG) {
  float sampleRate = 44100.0f;
  IIRCascade cascade(sampleRate);
  cascade.setK(0.8f);
  cascade.setPasses(3);
  const std::vector<float> input = noise(64);
  std::vector<float> output(input.size());
  float* inputs[] = {const_cast<float*>(input.data())};
  float* outputs[] = {output.data()};
  cascade.processCascade(inputs, outputs, static_cast<int>(input.size()));

  // K = 0.8: L = 18, G = e^1.8, each step in float32.
  const float g = static_cast<float>(std::exp(static_cast<double>(18.0f / 10.0f)));
  for (std::size_t i = 0; i < input.size(); ++i) {
    float expected = input[i];
    for (int pass = 0; pass < 3; ++pass) expected = 0.5f * ((1.0f + g) * expected);
    ASSERT_EQ(output[i], expected) << i;
  }
}

TEST(IIRCascadeResponse, LowShelfHasGainGAtDcAndOneAtNyquist) {
  const Settings lowShelf{.order = 1, .highShelf = false, .frequency = 0.4f, .k = 0.8f, .passes = 1};
  TestCascade dc(lowShelf), nyquist(lowShelf);
  EXPECT_NEAR(steadyGain(dc, kDc), boostOf(0.8), 1e-4 * boostOf(0.8));
  EXPECT_NEAR(steadyGain(nyquist, kNyquist), 1.0, 1e-4);
}

TEST(IIRCascadeResponse, HighShelfHasOneAtDcAndGainGAtNyquist) {
  const Settings highShelf{.order = 1, .highShelf = true, .frequency = 0.4f, .k = 0.2f, .passes = 1};
  TestCascade dc(highShelf), nyquist(highShelf);
  EXPECT_NEAR(steadyGain(dc, kDc), 1.0, 1e-4);
  EXPECT_NEAR(steadyGain(nyquist, kNyquist), boostOf(0.2), 1e-4 * boostOf(0.2));
}

TEST(IIRCascadeResponse, PeakingHasGainGAtTheCentreAndOneAtDc) {
  const Settings peaking{.order = 2, .frequency = 0.5f, .k = 0.9f, .alpha = 0.8, .passes = 1};
  TestCascade centre(peaking), dc(peaking);
  const double w = (std::exp(2.5) - 1.0) / (std::exp(5.0) - 1.0);
  EXPECT_NEAR(steadyGain(centre, sine(40000, w)), boostOf(0.9), 2e-3 * boostOf(0.9));
  EXPECT_NEAR(steadyGain(dc, kDc), 1.0, 1e-4);
}

TEST(IIRCascadeResponse, TwoPassesUseTheRootOfGSoTheExtremeStaysG) {
  for (int passes : {1, 2, 3}) {
    TestCascade filter({.order = 1, .frequency = 0.4f, .k = 1.0f, .passes = passes});
    const double expected = passes == 2 ? std::exp(3.0) : std::exp(3.0 * passes);
    EXPECT_NEAR(steadyGain(filter, kDc), expected, 1e-4 * expected) << passes << " passes";
  }
}

TEST(IIRCascadeResponse, AgreesWithADoublePrecisionModel) {
  const std::vector<float> input = noise(4096);
  const Settings cases[] = {
      {.order = 1, .highShelf = false, .frequency = 0.3f, .k = 0.85f, .passes = 4, .postGain = 0.5f},
      {.order = 1, .highShelf = true, .frequency = 0.6f, .k = 0.15f, .passes = 4},
      {.order = 2, .frequency = 0.5f, .k = 0.7f, .alpha = 0.95, .passes = 4},
      {.order = 2, .frequency = 0.8f, .k = 0.2f, .alpha = 0.5, .passes = 2},
      {.order = 3, .highShelf = true, .frequency = 0.2f, .k = 0.6f, .passes = 20},
  };
  for (const Settings& settings : cases) {
    TestCascade filter(settings, 48000.0f);
    const std::vector<float> output = filter.run(input);
    const std::vector<double> expected = ReferenceEqualiser(settings, 48000.0).run(input);
    double peak = 0.0;
    for (double value : expected) peak = std::max(peak, std::fabs(value));
    // Float32 coefficients and arithmetic stay within about 6e-6 of the peak
    // over 2 to 20 passes (the narrow second-order peak is the worst); a
    // wrong coefficient, sign or mixing rule is off by far more.
    for (std::size_t i = 0; i < input.size(); ++i) {
      ASSERT_NEAR(output[i], expected[i], 5e-5 * peak) << "order " << settings.order << " sample " << i;
    }
  }
}

TEST(IIRCascadeDesign, NormalizedFrequencyRisesFromZeroToNyquist) {
  float sampleRate = 44100.0f;
  IIRCascade cascade(sampleRate);
  cascade.designFilter(0.0f);
  EXPECT_EQ(cascade.normalizedFrequency(), 0.0f);
  cascade.designFilter(1.0f);
  EXPECT_EQ(cascade.normalizedFrequency(), 1.0f);
  cascade.designFilter(0.5f);
  EXPECT_NEAR(cascade.normalizedFrequency() * 22050.0, 1672.67, 0.01);
  // The frequency in Hz does not depend on the sample rate.
  sampleRate = 96000.0f;
  EXPECT_NEAR(cascade.normalizedFrequency() * 48000.0, 1672.67, 0.01);
}

TEST(IIRCascadeDesign, SecondOrderCoefficientsFollowAlphaAndTheCentre) {
  float sampleRate = 44100.0f;
  IIRCascade cascade(sampleRate);
  cascade.setAlpha(0.6);
  cascade.designFilter(0.7f);
  const double c = std::cos(std::numbers::pi * (std::exp(3.5) - 1.0) / (std::exp(5.0) - 1.0));
  const IIRCascade::Coefficients coefficients = cascade.coefficients();
  EXPECT_EQ(coefficients.b0, 0.6f);
  EXPECT_NEAR(coefficients.b1, -1.6 * c, 1e-6);
  EXPECT_EQ(coefficients.b2, 1.0f);
  EXPECT_EQ(coefficients.a0, 1.0f);
  EXPECT_EQ(coefficients.a1, coefficients.b1);
  EXPECT_EQ(coefficients.a2, 0.6f);
}

TEST(IIRCascadeDesign, FirstOrderAtZeroFrequencyIsTransparentAndSetsAlphaToOne) {
  TestCascade lowShelf({.order = 1, .frequency = 0.0f, .k = 0.9f, .passes = 1});
  EXPECT_EQ(lowShelf.cascade.alpha(), 1.0);
  EXPECT_EQ(lowShelf.cascade.coefficients().b0, 1.0f);
  EXPECT_EQ(lowShelf.cascade.coefficients().a1, -1.0f);
  const std::vector<float> input = noise(2000);
  const std::vector<float> low = lowShelf.run(input);
  TestCascade highShelf({.order = 1, .highShelf = true, .frequency = 0.0f, .k = 0.9f, .passes = 1});
  const std::vector<float> high = highShelf.run(input);
  const double g = boostOf(0.9);
  for (std::size_t i = 0; i < input.size(); ++i) {
    ASSERT_NEAR(low[i], input[i], 1e-5) << i;
    ASSERT_NEAR(high[i], g * input[i], 1e-5 * g) << i;
  }
}

TEST(IIRCascadeDesign, FirstOrderAtFullFrequencyHasNoFeedback) {
  TestCascade filter({.order = 1, .frequency = 1.0f});
  EXPECT_EQ(filter.cascade.coefficients().b0, 0.0f);
  EXPECT_EQ(filter.cascade.coefficients().a1, 0.0f);
  EXPECT_EQ(filter.cascade.normalizedFrequency(), 1.0f);
}

TEST(IIRCascadeDesign, RedesignRestartsFromSilence) {
  const Settings settings{.order = 2, .frequency = 0.4f, .k = 0.8f, .passes = 4};
  TestCascade used(settings), fresh(settings);
  used.run(noise(500));
  used.cascade.designFilter(0.4f);
  std::vector<float> impulse(300, 0.0f);
  impulse[0] = 1.0f;
  EXPECT_EQ(used.run(impulse), fresh.run(impulse));
}

TEST(IIRCascadePasses, CountIsLimitedToTwenty) {
  float sampleRate = 44100.0f;
  IIRCascade cascade(sampleRate);
  cascade.setPasses(25);
  EXPECT_EQ(cascade.passes(), 20);
  cascade.setPasses(-3);
  EXPECT_EQ(cascade.passes(), -3);
}

std::vector<float> sectionValues(const IIRCascade& cascade) {
  const PassWavefront::Section s = cascade.section();
  return {s.b0, s.b1, s.b2, s.a1, s.a2, s.dry, s.weight};
}

// A shelf carried over to 4x holds the gain of its pass count in its fitted section; two passes
// share the gain, so a count that moves to or from two passes fits it again, as a fresh design
// with that count would be, while the histories run on.
TEST(IIRCascadePasses, CountThatChangesTheGainRefitsACarriedShelf) {
  struct Change {
    int from, to;
  };
  for (const Change change : {Change{3, 2}, Change{2, 3}, Change{3, 4}}) {
    const Settings before{
        .order = 1, .highShelf = true, .frequency = 0.357f, .k = 0.38f, .passes = change.from};
    Settings after = before;
    after.passes = change.to;
    TestCascade changed(before, 176400.0f, TimeScale(4, 0.0f));
    const TestCascade fresh(after, 176400.0f, TimeScale(4, 0.0f));
    changed.run(noise(64));
    changed.cascade.setPasses(change.to);
    EXPECT_EQ(sectionValues(changed.cascade), sectionValues(fresh.cascade))
        << change.from << " to " << change.to;
    EXPECT_NE(changed.run(std::vector<float>(8, 0.0f)), std::vector<float>(8, 0.0f));
  }
}

// What the output buffer held (an earlier block, in a graph another node's audio) must not
// play again.
TEST(IIRCascadePasses, NoPassOutputsSilence) {
  for (int passes : {0, -3}) {
    TestCascade filter({.k = 0.9f, .passes = passes});
    const std::vector<float> input = noise(100);
    std::vector<float> output(input.size(), 7.0f);
    filter.process(input.data(), output.data(), static_cast<int>(input.size()));
    EXPECT_EQ(output, std::vector<float>(input.size(), 0.0f)) << passes << " passes";
  }
}

TEST(IIRCascadeBlocks, WholeBlockUnevenPiecesAndSingleSamplesAgree) {
  const Settings settings{.order = 2, .frequency = 0.45f, .k = 0.85f, .passes = 5, .postGain = 0.9f};
  const std::vector<float> input = noise(1500);
  TestCascade whole(settings), pieces(settings), single(settings);
  const std::vector<float> expected = whole.run(input);

  std::vector<float> inPieces(input.size()), bySample(input.size());
  std::size_t start = 0;
  for (std::size_t length : {1u, 7u, 300u, 2u, 511u}) {
    pieces.process(input.data() + start, inPieces.data() + start, static_cast<int>(length));
    start += length;
  }
  pieces.process(input.data() + start, inPieces.data() + start, static_cast<int>(input.size() - start));
  for (std::size_t i = 0; i < input.size(); ++i) single.process(&input[i], &bySample[i], 1);

  EXPECT_EQ(inPieces, expected);
  EXPECT_EQ(bySample, expected);
}

TEST(IIRCascadeBlocks, StaysInsideOneChannelBuffers) {
  const Settings settings{.order = 1, .highShelf = true, .frequency = 0.3f, .k = 0.7f, .passes = 6};
  const std::vector<float> signal = noise(777);
  TestCascade filter(settings), reference(settings);
  ASSERT_EQ(filter.cascade.channelCount(), 2);

  GuardedBuffer input(signal.size()), output(signal.size());
  std::copy(signal.begin(), signal.end(), input.data());
  GuardedBuffer secondInput(signal.size(), 3.0f), secondOutput(signal.size(), 5.0f);
  float* inputs[] = {input.data(), secondInput.data()};
  float* outputs[] = {output.data(), secondOutput.data()};
  filter.cascade.processCascade(inputs, outputs, static_cast<int>(signal.size()));

  EXPECT_TRUE(input.guardsIntact());
  EXPECT_TRUE(output.guardsIntact());
  EXPECT_EQ(input.samples(), signal);
  EXPECT_EQ(output.samples(), reference.run(signal));
  EXPECT_EQ(secondInput.samples(), std::vector<float>(signal.size(), 3.0f));
  EXPECT_EQ(secondOutput.samples(), std::vector<float>(signal.size(), 5.0f));
  EXPECT_TRUE(secondInput.guardsIntact());
  EXPECT_TRUE(secondOutput.guardsIntact());
}

TEST(IIRCascadeBlocks, InPlaceMatchesSeparateBuffers) {
  const Settings settings{.order = 2, .frequency = 0.6f, .k = 0.3f, .passes = 3};
  const std::vector<float> signal = noise(600);
  TestCascade inPlace(settings), separate(settings);
  std::vector<float> buffer = signal;
  inPlace.process(buffer.data(), buffer.data(), static_cast<int>(buffer.size()));
  EXPECT_EQ(buffer, separate.run(signal));
}

}  // namespace
