// The half-band design: the response its coefficients give, computed independently of the
// running filters.

#include <gtest/gtest.h>

#include <cmath>

#include "processors/HalfBandDesign.h"
#include "processors/Oversampler.h"

namespace {

double decibels(double gain) { return 20.0 * std::log10(gain); }

struct Band {
  double transition;
  double attenuationDb;
};

class HalfBandResponse : public testing::TestWithParam<Band> {};

TEST_P(HalfBandResponse, PassBandFlatStopBandAttenuated) {
  const Band band = GetParam();
  const std::vector<double> coefficients = designHalfBand(band.transition, band.attenuationDb);
  ASSERT_FALSE(coefficients.empty());
  const double edge = (0.5 - band.transition) / 2.0;
  for (int i = 0; i <= 400; ++i) {
    const double pass = edge * i / 400.0;
    EXPECT_NEAR(decibels(halfBandGain(coefficients, pass)), 0.0, 1e-3) << pass;
    const double stop = 0.5 - edge * i / 400.0;
    EXPECT_LT(decibels(halfBandGain(coefficients, stop)), -band.attenuationDb) << stop;
  }
  EXPECT_NEAR(halfBandGain(coefficients, 0.25), std::sqrt(0.5), 1e-9);
}

TEST_P(HalfBandResponse, CoefficientsAscendWithinTheStableRange) {
  const std::vector<double> coefficients = designHalfBand(GetParam().transition, GetParam().attenuationDb);
  for (std::size_t k = 0; k < coefficients.size(); ++k) {
    EXPECT_GT(coefficients[k], 0.0);
    EXPECT_LT(coefficients[k], 1.0);
    if (k > 0) {
      EXPECT_GT(coefficients[k], coefficients[k - 1]);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(HalfBandDesign, HalfBandResponse,
                         testing::Values(Band{0.045, 102.0}, Band{0.1, 60.0}, Band{0.2725, 102.0},
                                         Band{0.3862, 102.0}, Band{0.4431, 102.0}, Band{0.02, 120.0}));

TEST(HalfBandDesign, SteeperOrDeeperNeedsMoreSections) {
  EXPECT_LT(designHalfBand(0.1, 100.0).size(), designHalfBand(0.05, 100.0).size());
  EXPECT_LT(designHalfBand(0.1, 60.0).size(), designHalfBand(0.1, 100.0).size());
}

// Every stage of the samplers holds the pass band at 44.1 kHz to 20 kHz within 0.1 dB and
// stops the images of that band by 100 dB.
TEST(HalfBandDesign, OversamplerStagesMeetTheirTargets) {
  for (int octave = 0; octave < 4; ++octave) {
    const std::vector<double>& coefficients = Oversampler::stageDesign(octave);
    const double rate = 44100.0 * (2 << octave);
    for (double f = 0.0; f <= 20000.0; f += 250.0) {
      EXPECT_NEAR(decibels(halfBandGain(coefficients, f / rate)), 0.0, 0.1) << octave << " " << f;
      EXPECT_LT(decibels(halfBandGain(coefficients, 0.5 - f / rate)), -100.0) << octave << " " << f;
    }
  }
}

}  // namespace
