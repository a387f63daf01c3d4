// How much of a distorted sine is not its harmonics: the fold-over of harmonics beyond half
// the rate (aliasing) and whatever else a sound adds between them.
#pragma once

#include <array>
#include <cstddef>
#include <vector>

#include "render/CharacterSheet.h"
#include "render/EffectModule.h"
#include "render/EffectSettings.h"

// What a coherent spectrum of a sine's output holds.
struct ToneSpectrum {
  // Power on the bins that are no harmonic of the sine, against the power on its harmonics,
  // both from 20 Hz to 20 kHz (or below half the rate), in dB.
  double offHarmonicDb = 0.0;
  // Levels of harmonics 1 to 5 as a sine's peak, in dBFS (-200 for none).
  std::array<double, 5> harmonicDbfs{};
};

struct AliasingMeasurement {
  // The spectrum: a power of two; the sine falls exactly on a bin of it.
  static constexpr std::size_t kSpectrumSize = 65536;
  static constexpr double kSettleSeconds = 1.0;
  static constexpr double kToneDbfs = -12.0;
  static constexpr double kLowestHertz = 20.0;
  static constexpr double kHighestHertz = 20000.0;
};

// The frequency of the spectrum bin nearest to hertz at sampleRate.
double coherentHertz(double hertz, double sampleRate);

// Reads kSpectrumSize samples of output (a rectangular window) whose input sine had
// coherentHertz(hertz, sampleRate).
ToneSpectrum analyseTone(const float* output, double hertz, double sampleRate);

// Plays a kToneDbfs sine near hertz through a fresh instance with the settings, and
// analyses the output after kSettleSeconds.
ToneSpectrum measureTone(EffectModule& module, const EffectSettings& settings, float sampleRate,
                         int blockSize, double hertz);

// measureTone's off-harmonic level at a third of an octave apart from
// CharacterSheet::kAliasingLowestHertz to kAliasingHighestHertz.
std::vector<LevelPoint> measureAliasingCurve(EffectModule& module, const EffectSettings& settings,
                                             float sampleRate, int blockSize);
