// What torvix-render --analyse measures of a sound: its character sheet.
#pragma once

#include <string>
#include <vector>

#include "render/FrequencyContent.h"

// One point of a measured curve.
struct LevelPoint {
  double x;
  double decibels;
};

// Levels are RMS levels given as a sine's peak level (RMS + 3 dB), in dBFS,
// so a sine reads its own peak and input and output compare directly.
struct CharacterSheet {
  static constexpr double kSweepDbfs = -60.0;
  static constexpr double kToneHertz = 1000.0;
  static constexpr double kToneDbfs = -12.0;
  static constexpr double kQuietestDbfs = -60.0;
  static constexpr double kPluckHertz = 110.0;
  static constexpr double kPluckDbfs = -6.0;

  std::string title;
  double sampleRate = 0.0;
  // Gain in dB against frequency in Hz, from a sweep low enough to leave
  // every clipper alone.
  std::vector<LevelPoint> response;
  // The output spectrum of a steady kToneHertz sine at kToneDbfs, and its
  // total harmonic distortion as a fraction.
  FrequencyContent harmonics;
  double distortion = 0.0;
  // Output level against input level of that sine, from kQuietestDbfs to 0.
  std::vector<LevelPoint> transfer;
  // Level against time in seconds of a plucked string and of the output.
  std::vector<LevelPoint> pluckInput;
  std::vector<LevelPoint> pluckOutput;
  // Off-harmonic level in dB (AliasingMeasurement) against the frequency of a -12 dBFS
  // sine, from kAliasingLowestHertz to kAliasingHighestHertz: the sound as its description
  // asks for it, and the same description at oversampling 1 (empty when not measured).
  std::vector<LevelPoint> aliasing;
  std::vector<LevelPoint> aliasingAtFactorOne;
  static constexpr double kAliasingLowestHertz = 100.0;
  static constexpr double kAliasingHighestHertz = 5000.0;
};
