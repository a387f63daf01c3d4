#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <thread>
#include <vector>

#include "render/DemoFileName.h"
#include "render/FrequencyContent.h"
#include "render/GuitarRiff.h"
#include "render/LevelMeter.h"
#include "render/PluckedString.h"

namespace {

std::vector<float> sine(std::size_t frames, double frequency, double amplitude, double sampleRate) {
  std::vector<float> samples(frames);
  for (std::size_t i = 0; i < frames; ++i) {
    samples[i] = static_cast<float>(
        amplitude * std::sin(2.0 * std::numbers::pi * frequency * static_cast<double>(i) / sampleRate));
  }
  return samples;
}

std::size_t loudestBin(const FrequencyContent& spectrum) {
  return static_cast<std::size_t>(std::max_element(spectrum.decibels.begin(), spectrum.decibels.end()) -
                                  spectrum.decibels.begin());
}

TEST(LevelMeter, MeasuresPeakAndRmsAgainstFullScale) {
  LevelMeter meter;
  const std::vector<float> fullScale = sine(44100, 1000.0, 1.0, 44100.0);
  meter.add(fullScale.data(), static_cast<std::int64_t>(fullScale.size()));
  EXPECT_NEAR(meter.peakDbfs(), 0.0, 0.001);
  EXPECT_NEAR(meter.rmsDbfs(), -3.0103, 0.001);
  const float half[] = {0.5f, -0.5f};
  LevelMeter square;
  square.add(half, 2);
  EXPECT_NEAR(square.peakDbfs(), -6.0206, 1e-4);
  EXPECT_NEAR(square.rmsDbfs(), -6.0206, 1e-4);
  EXPECT_EQ(dbfsText(square.peakDbfs()), "-6.02");
  EXPECT_EQ(dbfsText(LevelMeter().rmsDbfs()), "-inf");
}

TEST(FrequencyContent, ReadsASineAtItsFrequencyAndLevel) {
  const double sampleRate = 48000.0;
  const double binHertz = sampleRate / 4096.0;
  const FrequencyContent spectrum =
      averageFrequencyContent(sine(48000, 100 * binHertz, 0.5, sampleRate), sampleRate);
  ASSERT_EQ(spectrum.decibels.size(), 2049u);
  EXPECT_DOUBLE_EQ(spectrum.binHertz, binHertz);
  EXPECT_EQ(loudestBin(spectrum), 100u);
  EXPECT_NEAR(spectrum.decibels[100], 20.0 * std::log10(0.5), 0.05);
  EXPECT_LT(spectrum.decibels[400], -90.0);
}

TEST(FrequencyContent, PadsShortSignalsAndFloorsSilence) {
  const FrequencyContent silence = averageFrequencyContent(std::vector<float>(100, 0.0f), 44100.0, 1024);
  ASSERT_EQ(silence.decibels.size(), 513u);
  for (const double level : silence.decibels) ASSERT_EQ(level, -200.0);
}

// A batch plots its files side by side: spectra taken on several threads at
// once give what each gives alone.
TEST(FrequencyContent, ThreadsAnalysingAtOnceEachGetTheirOwnSpectrum) {
  const std::vector<std::size_t> sizes{256, 512, 1024, 2048, 4096, 8192};
  const std::vector<float> signal = sine(300, 1000.0, 0.5, 44100.0);
  std::vector<std::vector<double>> alone;
  for (const std::size_t size : sizes) alone.push_back(averageFrequencyContent(signal, 44100.0, size).decibels);
  std::vector<std::vector<double>> together(sizes.size());
  {
    std::vector<std::jthread> threads;
    for (std::size_t t = 0; t < sizes.size(); ++t) {
      threads.emplace_back([&, t] {
        for (int round = 0; round < 200; ++round) {
          together[t] = averageFrequencyContent(signal, 44100.0, sizes[t]).decibels;
        }
      });
    }
  }
  EXPECT_EQ(together, alone);
}

// The lag, between the periods of half and twice the frequency, at which the
// signal best matches itself (over the same number of samples for every lag).
double periodByAutocorrelation(const std::vector<float>& samples, double sampleRate, double frequency) {
  const auto shortest = static_cast<std::size_t>(sampleRate / frequency / 2.0);
  const auto longest = static_cast<std::size_t>(sampleRate / frequency * 2.0);
  std::size_t best = shortest;
  double bestMatch = -1e300;
  for (std::size_t lag = shortest; lag <= longest; ++lag) {
    double match = 0.0;
    for (std::size_t i = 0; i + longest < samples.size(); ++i) match += double(samples[i]) * samples[i + lag];
    if (match > bestMatch) {
      bestMatch = match;
      best = lag;
    }
  }
  return static_cast<double>(best);
}

TEST(PluckedString, SoundsAtItsFrequencyAndDiesAway) {
  const double sampleRate = 44100.0;
  for (const float frequency : {82.41f, 110.0f, 196.0f}) {
    PluckedString string(static_cast<float>(sampleRate), frequency, 0.5f, 7);
    std::vector<float> sound(44100 * 2);
    for (float& sample : sound) sample = string.next();
    const std::vector<float> firstTenth(sound.begin(), sound.begin() + 4410);
    EXPECT_NEAR(periodByAutocorrelation(firstTenth, sampleRate, frequency), sampleRate / frequency, 1.0)
        << frequency;
    LevelMeter start;
    start.add(sound.data(), 4410);
    LevelMeter end;
    end.add(sound.data() + sound.size() - 4410, 4410);
    EXPECT_NEAR(start.peakDbfs(), -6.02, 0.5) << frequency;
    EXPECT_LT(end.rmsDbfs(), start.rmsDbfs() - 6.0) << frequency;
  }
}

TEST(PluckedString, DampingStopsTheStringQuickly) {
  PluckedString ringing(44100.0f, 82.41f, 0.5f, 3);
  PluckedString damped(44100.0f, 82.41f, 0.5f, 3);
  damped.damp();
  LevelMeter ringingLevel;
  LevelMeter dampedLevel;
  for (int i = 0; i < 8820; ++i) {
    const float a = ringing.next();
    const float b = damped.next();
    if (i >= 4410) {
      ringingLevel.add(&a, 1);
      dampedLevel.add(&b, 1);
    }
  }
  EXPECT_LT(dampedLevel.rmsDbfs(), ringingLevel.rmsDbfs() - 40.0);
}

TEST(GuitarRiff, LastsFourSecondsPeaksAtHalfScaleAndRepeatsExactly) {
  const std::vector<float> riff = synthesiseGuitarRiff(44100.0f);
  ASSERT_EQ(riff.size(), 4u * 44100u);
  LevelMeter whole;
  whole.add(riff.data(), static_cast<std::int64_t>(riff.size()));
  EXPECT_NEAR(whole.peakDbfs(), -6.0206, 1e-3);
  for (std::size_t second = 0; second < 4; ++second) {
    LevelMeter part;
    part.add(riff.data() + second * 44100, 44100);
    EXPECT_GT(part.rmsDbfs(), -40.0) << "second " << second;
  }
  EXPECT_EQ(synthesiseGuitarRiff(44100.0f), riff);
  EXPECT_EQ(synthesiseGuitarRiff(22050.0f).size(), 4u * 22050u);
}

TEST(DemoFileName, NumbersDescriptionsAndKeepsFileNamesSafe) {
  EXPECT_EQ(demoFileStem(3, "crunch.xml"), "03-crunch");
  EXPECT_EQ(demoFileStem(12, "notes.xml.txt"), "12-notes.xml.txt");
  EXPECT_EQ(demoFileStem(0, "sub/dir name.xml"), "00-sub_dir_name");
  EXPECT_EQ(demoFileStem(1, ".xml"), "01-.xml");
}

}  // namespace
