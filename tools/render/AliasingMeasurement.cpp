#include "render/AliasingMeasurement.h"

#include <fftw3.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "render/EffectSetup.h"
#include "render/FftwPlannerLock.h"

namespace {

constexpr double kFloorDbfs = -200.0;
constexpr std::size_t kHarmonicsListed = 5;

// The power of every bin of one double-precision real transform of kSpectrumSize samples.
std::vector<double> binPowers(const float* samples) {
  constexpr std::size_t size = AliasingMeasurement::kSpectrumSize;
  double* input = fftw_alloc_real(size);
  fftw_complex* output = fftw_alloc_complex(size / 2 + 1);
  std::unique_lock planning(fftwPlannerLock());
  const fftw_plan plan = fftw_plan_dft_r2c_1d(static_cast<int>(size), input, output, FFTW_ESTIMATE);
  planning.unlock();
  std::copy(samples, samples + size, input);
  fftw_execute(plan);
  std::vector<double> powers(size / 2 + 1);
  for (std::size_t bin = 0; bin < powers.size(); ++bin)
    powers[bin] = output[bin][0] * output[bin][0] + output[bin][1] * output[bin][1];
  planning.lock();
  fftw_destroy_plan(plan);
  planning.unlock();
  fftw_free(output);
  fftw_free(input);
  return powers;
}

std::size_t binOf(double hertz, double sampleRate) {
  return static_cast<std::size_t>(std::llround(hertz * AliasingMeasurement::kSpectrumSize / sampleRate));
}

}  // namespace

double coherentHertz(double hertz, double sampleRate) {
  return static_cast<double>(std::max<std::size_t>(1, binOf(hertz, sampleRate))) * sampleRate /
         AliasingMeasurement::kSpectrumSize;
}

ToneSpectrum analyseTone(const float* output, double hertz, double sampleRate) {
  const std::vector<double> powers = binPowers(output);
  const std::size_t fundamental = std::max<std::size_t>(1, binOf(hertz, sampleRate));
  const std::size_t first = std::max<std::size_t>(1, binOf(AliasingMeasurement::kLowestHertz, sampleRate));
  const std::size_t last = std::min(
      powers.size() - 2, binOf(std::min(AliasingMeasurement::kHighestHertz, 0.5 * sampleRate), sampleRate));
  double harmonic = 0.0, other = 0.0;
  for (std::size_t bin = first; bin <= last; ++bin)
    (bin % fundamental == 0 ? harmonic : other) += powers[bin];
  ToneSpectrum spectrum;
  spectrum.offHarmonicDb =
      harmonic > 0.0 ? std::max(kFloorDbfs, 10.0 * std::log10(other / harmonic + 1e-30)) : 0.0;
  // A sine of amplitude A gives |X|^2 = (A N / 2)^2 on its bin.
  const double fullScale = std::pow(AliasingMeasurement::kSpectrumSize / 2.0, 2.0);
  for (std::size_t h = 0; h < kHarmonicsListed; ++h) {
    const std::size_t bin = fundamental * (h + 1);
    const double level =
        bin < powers.size() ? 10.0 * std::log10(powers[bin] / fullScale + 1e-30) : kFloorDbfs;
    spectrum.harmonicDbfs[h] = std::max(kFloorDbfs, level);
  }
  return spectrum;
}

ToneSpectrum measureTone(EffectModule& module, const EffectSettings& settings, float sampleRate,
                         int blockSize, double hertz) {
  const double frequency = coherentHertz(hertz, sampleRate);
  const auto settle = static_cast<std::size_t>(AliasingMeasurement::kSettleSeconds * sampleRate);
  const std::size_t length = settle + AliasingMeasurement::kSpectrumSize;
  const double amplitude = std::pow(10.0, AliasingMeasurement::kToneDbfs / 20.0);
  std::vector<float> input(length);
  for (std::size_t n = 0; n < length; ++n) {
    // The phase taken modulo the spectrum, so every period has the same samples.
    const double cycles =
        frequency * static_cast<double>(n % AliasingMeasurement::kSpectrumSize) / sampleRate;
    input[n] = static_cast<float>(amplitude * std::sin(2.0 * std::numbers::pi * cycles));
  }
  ChannelEffects effects = startChannelEffects(module, 1, sampleRate, blockSize, settings);
  std::vector<float> output(length);
  for (std::size_t start = 0; start < length; start += static_cast<std::size_t>(blockSize)) {
    const auto frames = static_cast<int>(std::min<std::size_t>(blockSize, length - start));
    effects.process(input.data() + start, output.data() + start, frames);
  }
  return analyseTone(output.data() + settle, frequency, sampleRate);
}

std::vector<LevelPoint> measureAliasingCurve(EffectModule& module, const EffectSettings& settings,
                                             float sampleRate, int blockSize) {
  const double third = std::pow(2.0, 1.0 / 3.0);
  std::vector<LevelPoint> curve;
  const double highest = CharacterSheet::kAliasingHighestHertz;
  for (double hertz = CharacterSheet::kAliasingLowestHertz; hertz < highest * third; hertz *= third) {
    const double tone = std::min(hertz, highest);
    curve.push_back({tone, measureTone(module, settings, sampleRate, blockSize, tone).offHarmonicDb});
  }
  return curve;
}
