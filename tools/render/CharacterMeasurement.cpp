#include "render/CharacterMeasurement.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "render/AliasingMeasurement.h"
#include "render/EffectSetup.h"
#include "render/HarmonicDistortion.h"
#include "render/PluckedString.h"

namespace {

constexpr double kLowestHertz = 20.0;
constexpr double kHighestHertz = 20000.0;
constexpr double kSweepSeconds = 4.0;
// After the sweep, for echoes and filters to ring out into the measurement.
constexpr double kRingOutSeconds = 0.5;
constexpr double kFadeSeconds = 0.01;
// Response points every twelfth of an octave, each the power of a sixth of
// an octave around it.
constexpr double kPointsPerOctave = 12.0;
constexpr double kToneSeconds = 1.0;
// Long enough for level followers and echoes to have settled.
constexpr double kSettleSeconds = 0.25;
constexpr double kTransferStepDb = 2.0;
constexpr double kTransferStepSeconds = 0.3;
constexpr double kPluckSeconds = 4.0;
constexpr double kEnvelopeSeconds = 0.02;
constexpr double kFloorDbfs = -150.0;
constexpr std::size_t kToneSpectrumSize = 8192;

struct Measurement {
  EffectModule& module;
  const EffectSettings& settings;
  float sampleRate;
  int blockSize;

  // The input through a fresh instance, sample for sample.
  std::vector<float> played(const std::vector<float>& input) const {
    ChannelEffects effects = startChannelEffects(module, 1, sampleRate, blockSize, settings);
    std::vector<float> output(input.size());
    for (std::size_t start = 0; start < input.size(); start += static_cast<std::size_t>(blockSize)) {
      const auto frames = static_cast<int>(std::min<std::size_t>(blockSize, input.size() - start));
      effects.process(input.data() + start, output.data() + start, frames);
    }
    return output;
  }

  std::size_t frames(double seconds) const { return static_cast<std::size_t>(seconds * sampleRate); }
};

double amplitudeOf(double dbfs) { return std::pow(10.0, dbfs / 20.0); }

// RMS + 3 dB: the peak level of a sine of that RMS.
double sineLevel(const float* samples, std::size_t count) {
  double energy = 0.0;
  for (std::size_t i = 0; i < count; ++i) energy += static_cast<double>(samples[i]) * samples[i];
  const double rms = count > 0 ? std::sqrt(energy / static_cast<double>(count)) : 0.0;
  return rms > 0.0 ? std::max(kFloorDbfs, 20.0 * std::log10(rms * std::numbers::sqrt2)) : kFloorDbfs;
}

void addSine(std::vector<float>& signal, std::size_t first, std::size_t count, double hertz, double amplitude,
             double sampleRate) {
  for (std::size_t i = 0; i < count; ++i) {
    const double phase = 2.0 * std::numbers::pi * hertz * static_cast<double>(first + i) / sampleRate;
    signal[first + i] = static_cast<float>(amplitude * std::sin(phase));
  }
}

// An exponential sweep, faded in and out, then silence.
std::vector<float> sweep(const Measurement& measurement, double highest) {
  std::vector<float> signal(measurement.frames(kSweepSeconds + kRingOutSeconds), 0.0f);
  const std::size_t length = measurement.frames(kSweepSeconds);
  const std::size_t fade = measurement.frames(kFadeSeconds);
  const double octaves = std::log(highest / kLowestHertz);
  const double amplitude = amplitudeOf(CharacterSheet::kSweepDbfs);
  for (std::size_t i = 0; i < length; ++i) {
    const double t = static_cast<double>(i) / measurement.sampleRate;
    const double phase =
        2.0 * std::numbers::pi * kLowestHertz * kSweepSeconds / octaves * (std::exp(t / kSweepSeconds * octaves) - 1.0);
    const double edge = std::min({1.0, static_cast<double>(i) / fade, static_cast<double>(length - i) / fade});
    signal[i] = static_cast<float>(amplitude * edge * std::sin(phase));
  }
  return signal;
}

double powerBetween(const FrequencyContent& spectrum, double low, double high) {
  const auto first = static_cast<std::size_t>(std::max(1.0, std::round(low / spectrum.binHertz)));
  const auto last = std::max(first, std::min(spectrum.decibels.size() - 1,
                                             static_cast<std::size_t>(std::round(high / spectrum.binHertz))));
  double power = 0.0;
  for (std::size_t bin = first; bin <= last; ++bin) power += std::pow(10.0, spectrum.decibels[bin] / 10.0);
  return power;
}

std::size_t powerOfTwoAtLeast(std::size_t count) {
  std::size_t size = 1;
  while (size < count) size *= 2;
  return size;
}

std::vector<LevelPoint> frequencyResponse(const Measurement& measurement) {
  const double highest = std::min(kHighestHertz, 0.45 * measurement.sampleRate);
  const std::vector<float> input = sweep(measurement, highest);
  const std::vector<float> output = measurement.played(input);
  // Bins fine enough for a sixth of an octave at the lowest frequency.
  const std::size_t size = powerOfTwoAtLeast(measurement.frames(0.5));
  const FrequencyContent in = averageFrequencyContent(input, measurement.sampleRate, size);
  const FrequencyContent out = averageFrequencyContent(output, measurement.sampleRate, size);
  const double halfBand = std::pow(2.0, 1.0 / kPointsPerOctave);
  std::vector<LevelPoint> response;
  for (double hertz = kLowestHertz; hertz <= highest; hertz *= halfBand) {
    const double inputPower = powerBetween(in, hertz / halfBand, hertz * halfBand);
    const double outputPower = powerBetween(out, hertz / halfBand, hertz * halfBand);
    const double gain = inputPower > 0.0 && outputPower > 0.0 ? 10.0 * std::log10(outputPower / inputPower)
                                                              : kFloorDbfs;
    response.push_back({hertz, std::max(kFloorDbfs, gain)});
  }
  return response;
}

void measureHarmonics(const Measurement& measurement, CharacterSheet& sheet) {
  std::vector<float> tone(measurement.frames(kToneSeconds));
  addSine(tone, 0, tone.size(), CharacterSheet::kToneHertz, amplitudeOf(CharacterSheet::kToneDbfs),
          measurement.sampleRate);
  const std::vector<float> output = measurement.played(tone);
  const std::vector<float> settled(output.begin() + static_cast<std::ptrdiff_t>(measurement.frames(kSettleSeconds)),
                                   output.end());
  sheet.harmonics = averageFrequencyContent(settled, measurement.sampleRate, kToneSpectrumSize);
  sheet.distortion = totalHarmonicDistortion(sheet.harmonics, CharacterSheet::kToneHertz);
}

// The sine rising in steps; each step is measured over its second half.
std::vector<LevelPoint> transferCurve(const Measurement& measurement) {
  const std::size_t step = measurement.frames(kTransferStepSeconds);
  std::vector<double> levels;
  for (double dbfs = CharacterSheet::kQuietestDbfs; dbfs <= 1e-9; dbfs += kTransferStepDb) levels.push_back(dbfs);
  std::vector<float> input(step * levels.size());
  for (std::size_t i = 0; i < levels.size(); ++i) {
    addSine(input, i * step, step, CharacterSheet::kToneHertz, amplitudeOf(levels[i]), measurement.sampleRate);
  }
  const std::vector<float> output = measurement.played(input);
  std::vector<LevelPoint> curve;
  for (std::size_t i = 0; i < levels.size(); ++i) {
    const std::size_t measured = i * step + step / 2;
    curve.push_back({sineLevel(input.data() + measured, step - step / 2),
                     sineLevel(output.data() + measured, step - step / 2)});
  }
  return curve;
}

std::vector<LevelPoint> envelope(const std::vector<float>& signal, const Measurement& measurement) {
  const std::size_t window = std::max<std::size_t>(1, measurement.frames(kEnvelopeSeconds));
  std::vector<LevelPoint> points;
  for (std::size_t start = 0; start + window <= signal.size(); start += window) {
    const double seconds = (static_cast<double>(start) + 0.5 * static_cast<double>(window)) / measurement.sampleRate;
    points.push_back({seconds, sineLevel(signal.data() + start, window)});
  }
  return points;
}

void measurePluck(const Measurement& measurement, CharacterSheet& sheet) {
  PluckedString string(measurement.sampleRate, static_cast<float>(CharacterSheet::kPluckHertz),
                       static_cast<float>(amplitudeOf(CharacterSheet::kPluckDbfs)), 1u);
  std::vector<float> pluck(measurement.frames(kPluckSeconds));
  for (float& sample : pluck) sample = string.next();
  sheet.pluckInput = envelope(pluck, measurement);
  sheet.pluckOutput = envelope(measurement.played(pluck), measurement);
}

}  // namespace

CharacterSheet measureCharacter(EffectModule& module, const EffectSettings& settings, float sampleRate,
                                int blockSize) {
  const Measurement measurement{module, settings, sampleRate, blockSize};
  CharacterSheet sheet;
  sheet.sampleRate = sampleRate;
  sheet.response = frequencyResponse(measurement);
  measureHarmonics(measurement, sheet);
  sheet.transfer = transferCurve(measurement);
  measurePluck(measurement, sheet);
  sheet.aliasing = measureAliasingCurve(module, settings, sampleRate, blockSize);
  return sheet;
}
