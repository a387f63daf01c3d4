#include "graph/AveragerAN.h"

#include <algorithm>
#include <cmath>
#include <new>

// The measurement of one block, kept in locals so that the running sum stays in a register.
// The position advances before it is written; a compare replaces the modulo's division.
struct AveragerAN::Measurement {
  double sum;
  VstInt32 position;
  VstInt32 length;
  float* slots;
  const float* in;

  void take(VstInt32 i) {
    if (++position >= length) position = 0;
    sum -= slots[position];
    const float magnitude = std::fabs(in[i]);
    slots[position] = magnitude;
    sum += magnitude;
  }
};

// The triangle of one block: the sums over the latest half of the window and over the half
// before it, and the sum of the latest half's sums, which weighs the samples 1, 2, ... half,
// ... 2, 1. The slot about to be written holds the sample a whole window back; the one half a
// window on, the sample half a window back, which moves from the latest half to the older.
// Each sum takes one difference of two samples, so each waits for one addition per sample.
struct AveragerAN::TriangleMeasurement {
  double sum;
  double half;
  double older;
  VstInt32 position;
  VstInt32 length;
  VstInt32 halfLength;
  float* slots;
  const float* in;

  void take(VstInt32 i) {
    if (++position >= length) position = 0;
    VstInt32 middle = position + halfLength;
    if (middle >= length) middle -= length;
    const float magnitude = std::fabs(in[i]);
    const float halfBack = slots[middle];
    half += static_cast<double>(magnitude) - halfBack;
    older += static_cast<double>(halfBack) - slots[position];
    slots[position] = magnitude;
    sum += half - older;
  }
};

// Until a valid window has been set there is nothing to measure into.
bool AveragerAN::prepare() {
  setWindowLength(getParam(0, 1.0f));
  return windowLength != 0;
}

AveragerAN::Measurement AveragerAN::start(const BufferBank& bank) const {
  return {runningSum, writePos, windowLength, history.get(), bank.channel(inputEntry())};
}

AveragerAN::TriangleMeasurement AveragerAN::startTriangle(const BufferBank& bank) const {
  return {runningSum,   halfSum,    olderSum,      writePos,
          windowLength, halfLength, history.get(), bank.channel(inputEntry())};
}

void AveragerAN::keep(const Measurement& measurement) {
  runningSum = measurement.sum;
  writePos = measurement.position;
}

void AveragerAN::keep(const TriangleMeasurement& measurement) {
  runningSum = measurement.sum;
  halfSum = measurement.half;
  olderSum = measurement.older;
  writePos = measurement.position;
}

template <typename Take>
void AveragerAN::withMeasurement(const BufferBank& bank, Take take) {
  if (triangle) {
    TriangleMeasurement measurement = startTriangle(bank);
    take(measurement);
    keep(measurement);
  } else {
    Measurement measurement = start(bank);
    take(measurement);
    keep(measurement);
  }
}

void AveragerAN::measure(const BufferBank& bank, VstInt32 sampleFrames) {
  withMeasurement(bank, [sampleFrames](auto& measurement) {
    for (VstInt32 i = 0; i < sampleFrames; ++i) measurement.take(i);
  });
}

void AveragerAN::processBlock(const BufferBank& bank, VstInt32 sampleFrames) {
  if (prepare()) measure(bank, sampleFrames);
}

bool AveragerAN::readsNoOtherNode() const {
  return std::none_of(params.begin(), params.end(),
                      [](const ParamBinding& binding) { return binding.source; });
}

bool AveragerAN::measuresWithAnother(const AveragerAN& other) const {
  return readsNoOtherNode() && other.readsNoOtherNode();
}

// Each sum is a chain of dependent additions; two chains in one loop overlap.
void AveragerAN::processBlocks(AveragerAN& first, AveragerAN& second, const BufferBank& bank,
                               VstInt32 sampleFrames) {
  const bool firstReady = first.prepare(), secondReady = second.prepare();
  if (!firstReady || !secondReady) {
    if (firstReady) first.measure(bank, sampleFrames);
    if (secondReady) second.measure(bank, sampleFrames);
    return;
  }
  first.withMeasurement(bank, [&](auto& one) {
    second.withMeasurement(bank, [&](auto& two) {
      for (VstInt32 i = 0; i < sampleFrames; ++i) {
        one.take(i);
        two.take(i);
      }
    });
  });
}

float AveragerAN::getValue(VstInt32 which) {
  if (which != kLevel) return 1.0f;
  if (windowLength == 0) return 0.0f;
  const float sum = static_cast<float>(runningSum);
  if (triangle) {
    const auto half = static_cast<float>(halfLength);
    return sum / (half * half);
  }
  return sum / static_cast<float>(windowLength);
}

void AveragerAN::restart() {
  std::fill(history.get(), history.get() + windowLength, 0.0f);
  writePos = 0;
  runningSum = 0.0;
  halfSum = 0.0;
  olderSum = 0.0;
}

void AveragerAN::clearState() { restart(); }

bool AveragerAN::isValidWindow(float requested) {
  // Above 2^24 floats are whole numbers, so a length that truncates to the maximum is
  // the maximum itself.
  return requested >= 1.0f && requested <= static_cast<float>(kMaxWindowLength);
}

std::optional<float> AveragerAN::constantWindow() const {
  const ParamBinding* window = bindingFor(0);
  if (!window) return 1.0f;
  if (window->source) return std::nullopt;
  return window->value;
}

bool AveragerAN::triangular() const {
  const ParamBinding* shape = bindingFor(kShapeParameter);
  return shape && !shape->source && shape->value == kTriangle;
}

VstInt32 AveragerAN::historyNeeded() const {
  const std::optional<float> constant = constantWindow();
  return timeScale.storageFor(constant ? static_cast<VstInt32>(*constant) : kMaxFollowedWindow);
}

bool AveragerAN::allocateHistory() {
  const bool twoHalves = triangular();
  const VstInt32 length = twoHalves ? std::max(historyNeeded(), 2) : historyNeeded();
  std::unique_ptr<float[]> cleared(new (std::nothrow) float[length]());
  if (!cleared) return false;
  history = std::move(cleared);
  historyLength = length;
  triangle = twoHalves;
  windowLength = 0;
  if (const std::optional<float> constant = constantWindow()) setWindowLength(*constant);
  return true;
}

bool AveragerAN::setWindowLength(float requested) {
  if (!(requested >= 1.0f) || historyLength == 0) return false;
  const VstInt32 counted =
      requested >= static_cast<float>(kMaxWindowLength) ? kMaxWindowLength : static_cast<VstInt32>(requested);
  VstInt32 length = std::clamp(timeScale.samplesAt(counted, runRate), 1, historyLength);
  if (triangle) length = 2 * std::max(length / 2, 1);
  if (length == windowLength) return true;
  windowLength = length;
  halfLength = length / 2;
  restart();
  return true;
}
