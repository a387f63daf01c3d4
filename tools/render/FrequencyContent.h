// The magnitude spectrum of a signal.
#pragma once

#include <cstddef>
#include <vector>

// Magnitudes in dB of full scale, bin i at i × binHertz, from 0 Hz to half
// the sample rate. A full-scale sine reads about 0 dB at its frequency.
struct FrequencyContent {
  double binHertz = 0.0;
  std::vector<double> decibels;
};

// Welch's average: Hann-windowed frames of fftSize samples (a power of two),
// overlapping by half, their powers averaged. Signals shorter than a frame
// are padded with silence. Magnitudes below -200 dB read -200.
FrequencyContent averageFrequencyContent(const std::vector<float>& samples, double sampleRate,
                                         std::size_t fftSize = 4096);
