// An equaliser designed for the response it has at 44.1 kHz, run at other rates: its magnitude
// response, measured from its impulse response, matches the one at 44.1 kHz.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "processors/ZrIIRFilter.h"
#include "support/MagnitudeResponse.h"
#include "support/OneChannelHost.h"

namespace {

// The seven values of an equaliser preset, in parameter order.
struct Setting {
  const char* name;
  float order, type, passes, frequency, alpha, k;
  // The frequency below which the responses are compared, and how closely they must agree.
  double highest;
  double toleranceDb;
};

// The shipped sounds' equalisers, every one compared below 15 kHz.
const Setting kSettings[] = {
    {"crunch_mid", 1, 0, 0.15f, 0.37f, 0.8f, 0.615f, 15000, 0.2},
    {"fuzz_scoop", 1, 0, 0.15f, 0.347f, 0.75f, 0.4f, 15000, 0.2},
    {"glass_presence", 1, 0, 0.15f, 0.56f, 0.7f, 0.56f, 15000, 0.2},
    {"lead_pre", 1, 0, 0.15f, 0.408f, 0.8f, 0.6f, 15000, 0.2},
    {"scoop_band", 1, 0, 0.15f, 0.347f, 0.9f, 0.731f, 15000, 0.2},
    {"slap_twang", 1, 0, 0.15f, 0.533f, 0.75f, 0.58f, 15000, 0.2},
    {"crunch_tight", 0, 0, 0.25f, 0.017f, 0.95f, 0.4f, 15000, 0.2},
    {"dc_block", 0, 0, 0.35f, 0.002f, 0.95f, 0.0f, 15000, 0.2},
    {"fuzz_fat", 0, 0, 0.25f, 0.03f, 0.95f, 0.6f, 15000, 0.2},
    {"fuzz_tone", 0, 1, 0.25f, 0.25f, 0.95f, 0.35f, 15000, 0.2},
    {"slap_dark", 0, 1, 0.25f, 0.25f, 0.95f, 0.4f, 15000, 0.2},
    {"lead_shape", 0, 1, 0.25f, 0.25f, 0.95f, 0.35f, 15000, 0.2},
    {"bass", 0, 0, 0.3f, 0.015f, 0.95f, 0.5f, 15000, 0.2},
    {"crunch_tone", 0, 1, 0.25f, 0.357f, 0.95f, 0.35f, 15000, 0.2},
    {"lead_cab", 0, 1, 0.35f, 0.357f, 0.95f, 0.38f, 15000, 0.2},
    {"scoop_cab", 0, 1, 0.35f, 0.357f, 0.95f, 0.38f, 15000, 0.2},
};

// Where the equaliser runs: its time scale and the rate it is told.
struct Run {
  const char* name;
  TimeScale scale;
  float rate;
};

const Run kRuns[] = {
    {"4x at 44.1 kHz", TimeScale(4, 0.0f), 176400.0f},
    {"named 44.1 kHz at 96 kHz", TimeScale(1, 44100.0f), 96000.0f},
    {"named 44.1 kHz, 4x at 48 kHz", TimeScale(4, 44100.0f), 192000.0f},
    {"named 44.1 kHz at 48 kHz", TimeScale(1, 44100.0f), 48000.0f},
    {"8x at 44.1 kHz", TimeScale(8, 0.0f), 352800.0f},
};

// The magnitude response in dB at each frequency, from one second of impulse response.
std::vector<double> responseDb(const Setting& setting, const TimeScale& scale, float rate,
                               const std::vector<double>& frequencies) {
  ZrIIRFilter filter(oneChannelHost, scale);
  AEffect* effect = filter.getAeffect();
  effect->dispatcher(effect, effSetSampleRate, 0, 0, nullptr, rate);
  const float values[] = {setting.order,     setting.type,  setting.passes,
                          setting.frequency, setting.alpha, setting.k};
  for (VstInt32 index = 0; index < 6; ++index) effect->setParameter(effect, index, values[index]);
  std::vector<float> impulse(static_cast<std::size_t>(rate), 0.0f);
  impulse[0] = 1.0f;
  std::vector<float> response(impulse.size());
  float* inputs[] = {impulse.data()};
  float* outputs[] = {response.data()};
  effect->processReplacing(effect, inputs, outputs, static_cast<VstInt32>(impulse.size()));
  return magnitudeDb(response, rate, frequencies);
}

class EqualiserAtRate : public ::testing::TestWithParam<std::tuple<Setting, Run>> {};

TEST_P(EqualiserAtRate, KeepsItsResponseAt44100) {
  const auto& [setting, run] = GetParam();
  const std::vector<double> frequencies = frequenciesBelow(setting.highest);
  const std::vector<double> reference = responseDb(setting, TimeScale(), 44100.0f, frequencies);
  const std::vector<double> carried = responseDb(setting, run.scale, run.rate, frequencies);
  EXPECT_LE(largestDifference(reference, carried), setting.toleranceDb) << setting.name << ", " << run.name;
}

INSTANTIATE_TEST_SUITE_P(ShippedEqualisers, EqualiserAtRate,
                         ::testing::Combine(::testing::ValuesIn(kSettings), ::testing::ValuesIn(kRuns)),
                         [](const ::testing::TestParamInfo<std::tuple<Setting, Run>>& info) {
                           std::string name = std::string(std::get<0>(info.param).name) + "_" +
                                              std::to_string(static_cast<int>(std::get<1>(info.param).rate));
                           if (std::get<1>(info.param).scale.factor(1.0f) > 1.0) name += "_oversampled";
                           return name + "_" + std::to_string(info.index);
                         });

// Without a time scale the bell keeps only its centre: at 96 kHz its width moves by decibels,
// which the comparison above would catch.
TEST(EqualiserAtRate, RawDesignMovesTheBellsWidth) {
  const Setting& bell = kSettings[4];
  const std::vector<double> frequencies = frequenciesBelow(15000.0);
  const std::vector<double> reference = responseDb(bell, TimeScale(), 44100.0f, frequencies);
  EXPECT_GT(largestDifference(reference, responseDb(bell, TimeScale(), 96000.0f, frequencies)), 2.0);
}

// A named rate equal to the host's designs exactly as the raw equaliser does there.
TEST(EqualiserAtRate, NamedRateAtThatRateIsTheRawDesign) {
  for (const Setting& setting : kSettings) {
    ZrIIRFilter raw(oneChannelHost), named(oneChannelHost, TimeScale(1, 48000.0f));
    for (ZrIIRFilter* filter : {&raw, &named}) {
      filter->setSampleRate(48000.0f);
      const float values[] = {setting.order,     setting.type,  setting.passes,
                              setting.frequency, setting.alpha, setting.k};
      for (VstInt32 index = 0; index < 6; ++index) filter->setParameter(index, values[index]);
    }
    const IIRCascade::Coefficients a = raw.cascade().coefficients(), b = named.cascade().coefficients();
    EXPECT_EQ(std::vector<float>({a.b0, a.b1, a.b2, a.a1, a.a2}),
              std::vector<float>({b.b0, b.b1, b.b2, b.a1, b.a2}))
        << setting.name;
  }
}

}  // namespace
