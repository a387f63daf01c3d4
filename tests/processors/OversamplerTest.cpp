// The up- and down-samplers, measured on what they make of sines: the wanted tone's level,
// and everything else (images, leakage, rounding) against it.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "processors/Oversampler.h"
#include "support/GuardedBuffer.h"

namespace {

constexpr double kHostRate = 44100.0;
// Samples at the host's rate before a measurement starts, and measured.
constexpr VstInt32 kSettle = 4096;
constexpr VstInt32 kMeasured = 2048;

std::vector<float> sine(double frequency, double rate, std::size_t length, double amplitude = 0.5) {
  std::vector<float> samples(length);
  for (std::size_t n = 0; n < length; ++n)
    samples[n] = static_cast<float>(amplitude * std::sin(2.0 * std::numbers::pi * frequency * n / rate));
  return samples;
}

// The amplitude of the tone at frequency (a whole number of cycles over samples) and the
// power of what remains once it is taken out, relative to the tone's power, in dB.
struct Tone {
  double amplitudeDb;
  double restDb;
};

Tone measureTone(const float* samples, std::size_t length, double frequency, double rate) {
  double c = 0.0, s = 0.0;
  for (std::size_t n = 0; n < length; ++n) {
    const double phase = 2.0 * std::numbers::pi * frequency * n / rate;
    c += samples[n] * std::cos(phase);
    s += samples[n] * std::sin(phase);
  }
  c *= 2.0 / length;
  s *= 2.0 / length;
  double rest = 0.0;
  for (std::size_t n = 0; n < length; ++n) {
    const double phase = 2.0 * std::numbers::pi * frequency * n / rate;
    const double left = samples[n] - c * std::cos(phase) - s * std::sin(phase);
    rest += left * left;
  }
  const double tonePower = (c * c + s * s) / 2.0;
  return {10.0 * std::log10(c * c + s * s), 10.0 * std::log10(rest / length / tonePower)};
}

// The host-rate bin nearest to frequency over kMeasured samples, so the tone is coherent.
double binFrequency(double frequency) {
  const double bin = kHostRate / kMeasured;
  return std::round(frequency / bin) * bin;
}

std::vector<float> upsampled(int factor, double frequency) {
  Oversampler sampler(factor, kSettle + kMeasured);
  const std::vector<float> in = sine(frequency, kHostRate, kSettle + kMeasured);
  GuardedBuffer out(in.size() * factor);
  sampler.upsample(in.data(), out.data(), static_cast<VstInt32>(in.size()));
  EXPECT_TRUE(out.guardsIntact());
  return out.samples();
}

std::vector<float> downsampled(int factor, double frequency, double amplitude = 0.5) {
  Oversampler sampler(factor, kSettle + kMeasured);
  const std::vector<float> in =
      sine(frequency, kHostRate * factor, (kSettle + kMeasured) * factor, amplitude);
  GuardedBuffer out(kSettle + kMeasured);
  sampler.downsample(in.data(), out.data(), kSettle + kMeasured);
  EXPECT_TRUE(out.guardsIntact());
  return out.samples();
}

struct Case {
  int factor;
  double frequency;
};

class PassBand : public testing::TestWithParam<Case> {};

TEST_P(PassBand, UpsamplingKeepsTheToneAndAddsNoImages) {
  const auto [factor, wanted] = GetParam();
  const double frequency = binFrequency(wanted);
  const std::vector<float> out = upsampled(factor, frequency);
  const Tone tone =
      measureTone(out.data() + kSettle * factor, kMeasured * factor, frequency, kHostRate * factor);
  EXPECT_NEAR(tone.amplitudeDb, 20.0 * std::log10(0.5), 0.1);
  EXPECT_LT(tone.restDb, -100.0);
}

TEST_P(PassBand, DownsamplingKeepsTheTone) {
  const auto [factor, wanted] = GetParam();
  const double frequency = binFrequency(wanted);
  const std::vector<float> out = downsampled(factor, frequency);
  const Tone tone = measureTone(out.data() + kSettle, kMeasured, frequency, kHostRate);
  EXPECT_NEAR(tone.amplitudeDb, 20.0 * std::log10(0.5), 0.1);
  EXPECT_LT(tone.restDb, -100.0);
}

INSTANTIATE_TEST_SUITE_P(Oversampler, PassBand,
                         testing::Values(Case{2, 100.0}, Case{2, 1000.0}, Case{2, 10000.0}, Case{2, 19900.0},
                                         Case{4, 1000.0}, Case{4, 19900.0}, Case{8, 1000.0}, Case{8, 19900.0},
                                         Case{16, 1000.0}, Case{16, 19900.0}));

class StopBand : public testing::TestWithParam<Case> {};

// A tone the graph made above the host's band folds into it by less than 100 dB of its level.
TEST_P(StopBand, DownsamplingLeaksLessThan100Decibels) {
  const auto [factor, wanted] = GetParam();
  const double frequency = binFrequency(wanted);
  const std::vector<float> out = downsampled(factor, frequency, 1.0);
  double power = 0.0;
  for (VstInt32 n = kSettle; n < kSettle + kMeasured; ++n) power += out[n] * out[n];
  EXPECT_LT(10.0 * std::log10(power / kMeasured / 0.5), -100.0);
}

INSTANTIATE_TEST_SUITE_P(Oversampler, StopBand,
                         testing::Values(Case{2, 24200.0}, Case{2, 30000.0}, Case{2, 43000.0},
                                         Case{4, 24200.0}, Case{4, 60000.0}, Case{4, 87000.0},
                                         Case{8, 24200.0}, Case{8, 100000.0}, Case{8, 170000.0},
                                         Case{16, 24200.0}, Case{16, 200000.0}, Case{16, 340000.0}));

std::vector<float> upsampledInPieces(Oversampler& sampler, const std::vector<float>& in,
                                     const std::vector<VstInt32>& pieces) {
  std::vector<float> out(in.size() * sampler.factor());
  std::size_t done = 0;
  for (std::size_t k = 0; done < in.size(); ++k) {
    const VstInt32 length =
        std::min<VstInt32>(pieces[k % pieces.size()], static_cast<VstInt32>(in.size() - done));
    sampler.upsample(in.data() + done, out.data() + done * sampler.factor(), length);
    done += length;
  }
  return out;
}

std::vector<float> downsampledInPieces(Oversampler& sampler, const std::vector<float>& in,
                                       const std::vector<VstInt32>& pieces) {
  std::vector<float> out(in.size() / sampler.factor());
  std::size_t done = 0;
  for (std::size_t k = 0; done < out.size(); ++k) {
    const VstInt32 length =
        std::min<VstInt32>(pieces[k % pieces.size()], static_cast<VstInt32>(out.size() - done));
    sampler.downsample(in.data() + done * sampler.factor(), out.data() + done, length);
    done += length;
  }
  return out;
}

class Pieces : public testing::TestWithParam<int> {};

TEST_P(Pieces, UnevenPiecesAndSingleSamplesGiveTheWholeBlock) {
  const int factor = GetParam();
  const std::vector<float> in = sine(3000.0, kHostRate, 1000);
  Oversampler whole(factor, 1000), uneven(factor, 1000), single(factor, 1000);
  const std::vector<float> up = upsampledInPieces(whole, in, {1000});
  EXPECT_EQ(upsampledInPieces(uneven, in, {7, 300, 1, 64}), up);
  EXPECT_EQ(upsampledInPieces(single, in, {1}), up);
  const std::vector<float> down = downsampledInPieces(whole, up, {1000});
  EXPECT_EQ(downsampledInPieces(uneven, up, {13, 1, 250}), down);
  EXPECT_EQ(downsampledInPieces(single, up, {1}), down);
}

TEST_P(Pieces, ClearForgetsTheSignal) {
  const int factor = GetParam();
  const std::vector<float> in = sine(3000.0, kHostRate, 500);
  Oversampler fresh(factor, 500), used(factor, 500);
  const std::vector<float> expectedUp = upsampledInPieces(fresh, in, {500});
  const std::vector<float> expectedDown = downsampledInPieces(fresh, expectedUp, {500});
  upsampledInPieces(used, in, {500});
  downsampledInPieces(used, expectedUp, {500});
  used.clear();
  EXPECT_EQ(upsampledInPieces(used, in, {500}), expectedUp);
  EXPECT_EQ(downsampledInPieces(used, expectedUp, {500}), expectedDown);
}

// Without a graph between them the two directions make an allpass: the tone comes back at
// its level, at no delay beyond the filters' group delay.
TEST_P(Pieces, UpThenDownIsFlat) {
  const int factor = GetParam();
  const double frequency = binFrequency(15000.0);
  const std::vector<float> in = sine(frequency, kHostRate, kSettle + kMeasured);
  Oversampler sampler(factor, kSettle + kMeasured);
  const std::vector<float> back = downsampledInPieces(sampler, upsampledInPieces(sampler, in, {512}), {512});
  const Tone tone = measureTone(back.data() + kSettle, kMeasured, frequency, kHostRate);
  EXPECT_NEAR(tone.amplitudeDb, 20.0 * std::log10(0.5), 0.01);
  EXPECT_LT(tone.restDb, -100.0);
}

INSTANTIATE_TEST_SUITE_P(Oversampler, Pieces, testing::Values(2, 4, 8, 16));

// The samplers written out as the filters are defined: each allpass section sample by
// sample, y[n] = a (x[n] - y[n-1]) + x[n-1], in double.
class StraightforwardStage {
 public:
  explicit StraightforwardStage(const std::vector<double>& coefficients) {
    for (std::size_t k = 0; k < coefficients.size(); ++k)
      chains[k % 2].push_back({coefficients[k], 0.0, 0.0});
  }

  std::vector<float> up(const std::vector<float>& in) {
    std::vector<float> out;
    for (const float x : in) {
      out.push_back(static_cast<float>(process(chains[0], x)));
      out.push_back(static_cast<float>(process(chains[1], x)));
    }
    return out;
  }

  std::vector<float> down(const std::vector<float>& in) {
    std::vector<float> out;
    for (std::size_t n = 0; n + 1 < in.size(); n += 2)
      out.push_back(static_cast<float>(0.5 * (process(chains[1], in[n]) + process(chains[0], in[n + 1]))));
    return out;
  }

 private:
  struct Section {
    double a, lastInput, lastOutput;
  };

  static double process(std::vector<Section>& chain, double x) {
    for (Section& s : chain) {
      const double y = s.a * (x - s.lastOutput) + s.lastInput;
      s.lastInput = x;
      s.lastOutput = y;
      x = y;
    }
    return x;
  }

  std::vector<Section> chains[2];
};

TEST_P(Pieces, EqualsTheStraightforwardFormSampleForSample) {
  const int factor = GetParam();
  const std::vector<float> in = sine(5000.0, kHostRate, 700, 0.9);
  std::vector<float> expected = in;
  int octaves = 0;
  while ((1 << octaves) < factor)
    expected = StraightforwardStage(Oversampler::stageDesign(octaves++)).up(expected);
  Oversampler sampler(factor, 700);
  const std::vector<float> up = upsampledInPieces(sampler, in, {700});
  ASSERT_EQ(up.size(), expected.size());
  for (std::size_t i = 0; i < up.size(); ++i) ASSERT_NEAR(up[i], expected[i], 1e-6f) << i;
  std::vector<float> back = up;
  while (octaves > 0) back = StraightforwardStage(Oversampler::stageDesign(--octaves)).down(back);
  const std::vector<float> down = downsampledInPieces(sampler, up, {700});
  ASSERT_EQ(down.size(), back.size());
  for (std::size_t i = 0; i < down.size(); ++i) ASSERT_NEAR(down[i], back[i], 1e-6f) << i;
}

TEST(Oversampler, RefusesOtherFactors) {
  EXPECT_THROW(Oversampler(3, 16), std::invalid_argument);
  EXPECT_THROW(Oversampler(1, 16), std::invalid_argument);
  EXPECT_THROW(Oversampler(32, 16), std::invalid_argument);
}

}  // namespace
