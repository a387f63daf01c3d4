// The off-harmonic level: read from spectra of known content, through the echo test
// module, and through the plug-in's shipped sounds as designed and at oversampling 1.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "render/AliasingMeasurement.h"
#include "render/EffectSetup.h"
#include "render/SoundAnalysis.h"

namespace {

constexpr double kRate = 44100.0;

// A sine on the bin of hertz with amplitude, plus a tone at other hertz and level.
std::vector<float> tones(double hertz, double amplitude, double otherHertz, double otherAmplitude) {
  std::vector<float> samples(AliasingMeasurement::kSpectrumSize);
  const double f = coherentHertz(hertz, kRate);
  const double g = coherentHertz(otherHertz, kRate);
  for (std::size_t n = 0; n < samples.size(); ++n) {
    const double t = static_cast<double>(n) / kRate;
    samples[n] = static_cast<float>(amplitude * std::sin(2.0 * std::numbers::pi * f * t) +
                                    otherAmplitude * std::sin(2.0 * std::numbers::pi * g * t));
  }
  return samples;
}

TEST(AliasingMeasurement, APureSineHasNothingOffItsHarmonics) {
  const ToneSpectrum spectrum = analyseTone(tones(1000.0, 0.25, 3000.0, 0.0).data(), 1000.0, kRate);
  EXPECT_LT(spectrum.offHarmonicDb, -120.0);
  EXPECT_NEAR(spectrum.harmonicDbfs[0], 20.0 * std::log10(0.25), 0.01);
  EXPECT_LT(spectrum.harmonicDbfs[1], -120.0);
}

TEST(AliasingMeasurement, AHarmonicCountsAsHarmonic) {
  const ToneSpectrum spectrum = analyseTone(tones(1000.0, 0.25, 3000.0, 0.025).data(), 1000.0, kRate);
  EXPECT_LT(spectrum.offHarmonicDb, -120.0);
  EXPECT_NEAR(spectrum.harmonicDbfs[2], 20.0 * std::log10(0.025), 0.01);
}

struct OffTone {
  double hertz;
  double relativeDb;
};

class OffHarmonicTones : public testing::TestWithParam<OffTone> {};

// A tone between the harmonics reads its level against the sine (whose power is all the
// harmonic power); one outside 20 Hz to 20 kHz is not counted.
TEST_P(OffHarmonicTones, ReadTheirLevelAgainstTheHarmonics) {
  const auto [hertz, relativeDb] = GetParam();
  const double amplitude = 0.25 * std::pow(10.0, relativeDb / 20.0);
  const ToneSpectrum spectrum = analyseTone(tones(1000.0, 0.25, hertz, amplitude).data(), 1000.0, kRate);
  if (hertz < AliasingMeasurement::kLowestHertz || hertz > AliasingMeasurement::kHighestHertz) {
    EXPECT_LT(spectrum.offHarmonicDb, -120.0);
  } else {
    EXPECT_NEAR(spectrum.offHarmonicDb, relativeDb, 0.05);
  }
}

INSTANTIATE_TEST_SUITE_P(AliasingMeasurement, OffHarmonicTones,
                         testing::Values(OffTone{1500.0, -60.0}, OffTone{7777.0, -30.0},
                                         OffTone{19000.0, -90.0}, OffTone{21000.0, -20.0},
                                         OffTone{10.0, -20.0}));

TEST(AliasingMeasurement, TheEchoModuleDoublesASineAndAddsNothing) {
  EffectModule module(ECHO_MODULE_PATH);
  const ToneSpectrum spectrum = measureTone(module, {}, 48000.0f, 256, 2500.0);
  EXPECT_LT(spectrum.offHarmonicDb, -120.0);
  EXPECT_NEAR(spectrum.harmonicDbfs[0], AliasingMeasurement::kToneDbfs + 20.0 * std::log10(2.0), 0.01);
  const CharacterSheet sheet = analyseSound(module, {}, 44100.0f, 512);
  ASSERT_EQ(sheet.aliasing.size(), 18u);
  EXPECT_DOUBLE_EQ(sheet.aliasing.front().x, CharacterSheet::kAliasingLowestHertz);
  EXPECT_DOUBLE_EQ(sheet.aliasing.back().x, CharacterSheet::kAliasingHighestHertz);
  EXPECT_TRUE(sheet.aliasingAtFactorOne.empty());
}

#ifdef TORVIX_MODULE_PATH
// fuzz asks for oversampling: the sheet shows its aliasing far below that of the same
// description at the host's rate, which the copy of the archive gives.
TEST(AliasingMeasurement, FuzzAsDesignedAliasesFarLessThanAtFactorOne) {
  EffectModule module(TORVIX_MODULE_PATH);
  const EffectSettings settings = resolveModuleSettings(module, std::string("fuzz"), {});
  const CharacterSheet sheet = analyseSound(module, settings, 44100.0f, 512);
  ASSERT_EQ(sheet.aliasingAtFactorOne.size(), sheet.aliasing.size());
  for (std::size_t i = 0; i < sheet.aliasing.size(); ++i) {
    EXPECT_LT(sheet.aliasing[i].decibels, sheet.aliasingAtFactorOne[i].decibels - 30.0)
        << sheet.aliasing[i].x;
  }
  EXPECT_LT(measureTone(module, settings, 44100.0f, 512, 1000.0).offHarmonicDb, -70.0);
}
#endif

}  // namespace
