#include "pack/PresetValueCheck.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>

#include "processors/IIRCascade.h"

namespace {

// The clipper stores its gains as a sixteenth of the factor it applies.
constexpr double kClipperGainScale = 16.0;

std::string number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3g", value);
  return text;
}

class PresetValues {
 public:
  PresetValues(const PresetText& preset, const std::string& source, PackWarnings& warnings)
      : preset(preset), source(source), warnings(warnings) {}

  double operator[](const char* name) const { return preset.values[indexOf(name)]; }

  void warn(const char* name, const std::string& message) {
    warnings.add(source, preset.valueLines[indexOf(name)],
                 "\"" + std::string(name) + "\" = " + number((*this)[name]) + ": " + message);
  }

  // A gain applied to a full-scale input that leaves the float range.
  void checkPeak(const char* name, double peak) {
    if (peak > FLT_MAX)
      warn(name, "a full-scale input would leave the float range (a gain of " + number(peak) + ")");
  }

 private:
  std::size_t indexOf(const char* name) const {
    return static_cast<std::size_t>(preset.processor->parameterIndex(name));
  }

  const PresetText& preset;
  const std::string& source;
  PackWarnings& warnings;
};

void checkEqualiser(PresetValues& values) {
  const double k = values["K"];
  const double boostDb = 20.0 * std::log10(std::exp(6.0 * (k - 0.5)));
  if (k < 0.0 || k > 1.0)
    values.warn("K", "asks for " + number(boostDb) + " dB per pass; K from 0 to 1 gives -26 to +26 dB");
  const double passes = std::trunc(10.0 * values["Nr of passes"]);
  if (passes > IIRCascade::kMaxPasses)
    values.warn("Nr of passes", "gives " + number(passes) + " passes; the filter runs at most 20");
  if (passes < 1.0)
    values.warn("Nr of passes", "gives no pass: the filter does not run and outputs silence");
  const double run = std::clamp(passes, 0.0, static_cast<double>(IIRCascade::kMaxPasses));
  // Each pass multiplies its boost in; two passes share one boost.
  const double passGain = std::max(1.0, std::exp(6.0 * (k - 0.5) / (run == 2.0 ? 2.0 : 1.0)));
  values.checkPeak("Post gain", std::fabs(values["Post gain"]) * std::pow(passGain, run));
}

void checkClipper(PresetValues& values) {
  if (values["Average time"] < 0.0) values.warn("Average time", "a negative time: the clipper clips hard");
  for (const char* level : {"Clip positive", "Clip negative"})
    if (values[level] < 0.0) values.warn(level, "a negative level: the clipper expects a positive one");
  const double preGain = kClipperGainScale * std::fabs(values["Pre-gain"]);
  values.checkPeak("Pre-gain", preGain);
  const bool hardClip = values["Average time"] <= 0.0;
  const double clipLevel = std::max(std::fabs(values["Clip positive"]), std::fabs(values["Clip negative"]));
  const double clipped = hardClip ? std::min(preGain, clipLevel) : preGain;
  values.checkPeak("Post-gain", kClipperGainScale * std::fabs(values["Post-gain"]) * clipped);
}

void checkDelay(PresetValues& values) {
  if (values["Delay"] < 0.0) values.warn("Delay", "a negative time: the delay line is off");
}

}  // namespace

void checkPresetValues(const PresetText& preset, const std::string& source, PackWarnings& warnings) {
  PresetValues values(preset, source, warnings);
  const std::string& type = preset.processor->typeName;
  if (type == "eq") checkEqualiser(values);
  if (type == "clip") checkClipper(values);
  if (type == "delay") checkDelay(values);
}
