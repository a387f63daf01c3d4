#include "render/HarmonicDistortion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "render/FrequencyContent.h"

namespace {

constexpr double kRate = 44100.0;

struct Partial {
  int harmonic;
  double amplitude;
};

std::vector<float> tone(double fundamental, const std::vector<Partial>& partials) {
  std::vector<float> samples(44100);
  for (std::size_t i = 0; i < samples.size(); ++i) {
    double sample = 0.0;
    for (const Partial& partial : partials) {
      sample += partial.amplitude *
                std::sin(2.0 * std::numbers::pi * fundamental * partial.harmonic * static_cast<double>(i) / kRate);
    }
    samples[i] = static_cast<float>(sample);
  }
  return samples;
}

TEST(HarmonicDistortion, IsTheHarmonicsRmsSumOverTheFundamental) {
  struct Case {
    const char* what;
    double fundamental;
    std::vector<Partial> partials;
    double expected;
  };
  const Case cases[] = {
      {"a pure sine", 1000.0, {{1, 0.5}}, 0.0},
      {"a tenth of second harmonic", 1000.0, {{1, 0.5}, {2, 0.05}}, 0.1},
      {"second and fifth", 1000.0, {{1, 0.5}, {2, 0.03}, {5, 0.04}}, 0.1},
      {"a fundamental between two bins", 1001.3, {{1, 0.25}, {3, 0.05}}, 0.2},
      {"a harmonic near the top counts", 1000.0, {{1, 0.5}, {21, 0.1}}, 0.2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const FrequencyContent spectrum = averageFrequencyContent(tone(c.fundamental, c.partials), kRate, 8192);
    EXPECT_NEAR(totalHarmonicDistortion(spectrum, c.fundamental), c.expected, 0.002);
  }
}

TEST(HarmonicDistortion, IsZeroWithoutAFundamentalToMeasure) {
  const FrequencyContent silence = averageFrequencyContent(std::vector<float>(8192, 0.0f), kRate, 8192);
  EXPECT_EQ(totalHarmonicDistortion(silence, 1000.0), 0.0);
  const FrequencyContent sine = averageFrequencyContent(tone(1000.0, {{1, 0.5}}), kRate, 8192);
  EXPECT_EQ(totalHarmonicDistortion(sine, 30000.0), 0.0);
  EXPECT_EQ(totalHarmonicDistortion(FrequencyContent{}, 1000.0), 0.0);
}

}  // namespace
