// How the sample counts and equaliser designs of a description relate to the rate its graph
// runs at.
#pragma once

#include "frame/VstInterface.h"

// A description counts samples (averager windows, limiter windows, delays) and designs its
// equalisers for one rate, its reference: the rate it names, or else the host's rate, which is
// the run rate divided by the graph's oversampling factor. Run at another rate, a count of n
// reference samples becomes n times runRate / referenceRate samples, so that it lasts as long.
// A description that names neither a rate nor a factor is raw: every count is taken as
// written at whatever rate runs it, as processors have always done.
class TimeScale {
 public:
  // The highest host rate that storage is sized for at build; above it counts are held to
  // what was allocated.
  static constexpr float kHighestHostRate = 192000.0f;
  // The most a count is stretched for storage: 16 times 192 kHz for a description written for
  // 44.1 kHz is 69.7 times.
  static constexpr double kMaxStorageFactor = 128.0;

  // Raw.
  TimeScale() = default;
  // oversampling: the graph's factor (1 or more); declaredRate: the rate in Hz the description
  // names, 0 for none.
  TimeScale(VstInt32 oversampling, float declaredRate);

  bool isRaw() const { return oversampling == 1 && declaredRate == 0.0f; }
  // The rate the description's counts mean when its graph runs at runRate. runRate when raw.
  float referenceRate(float runRate) const;
  // runRate / referenceRate: run-rate samples per reference sample; 1 when raw.
  double factor(float runRate) const;
  // count reference samples in samples at runRate, rounded to the nearest whole number and
  // held to the int32 range; count itself when raw.
  VstInt32 samplesAt(VstInt32 count, float runRate) const;
  // The samples to allocate at build for count reference samples, enough at any host rate up
  // to kHighestHostRate (factors held to kMaxStorageFactor); count itself when raw.
  VstInt32 storageFor(VstInt32 count) const;

 private:
  double highestFactor() const;

  VstInt32 oversampling = 1;
  float declaredRate = 0.0f;
};
