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

// Until a valid window has been set there is nothing to measure into.
bool AveragerAN::prepare() {
  setWindowLength(getParam(0, 1.0f));
  return windowLength != 0;
}

AveragerAN::Measurement AveragerAN::start(const BufferBank& bank) const {
  return {runningSum, writePos, windowLength, history.get(), bank.channel(inputEntry())};
}

void AveragerAN::keep(const Measurement& measurement) {
  runningSum = measurement.sum;
  writePos = measurement.position;
}

void AveragerAN::measure(const BufferBank& bank, VstInt32 sampleFrames) {
  Measurement measurement = start(bank);
  for (VstInt32 i = 0; i < sampleFrames; ++i) measurement.take(i);
  keep(measurement);
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
  Measurement one = first.start(bank), two = second.start(bank);
  for (VstInt32 i = 0; i < sampleFrames; ++i) {
    one.take(i);
    two.take(i);
  }
  first.keep(one);
  second.keep(two);
}

float AveragerAN::getValue(VstInt32 which) {
  if (which != kLevel) return 1.0f;
  if (windowLength == 0) return 0.0f;
  const float sum = static_cast<float>(runningSum);
  return sum / static_cast<float>(windowLength);
}

void AveragerAN::clearState() {
  std::fill(history.get(), history.get() + windowLength, 0.0f);
  writePos = 0;
  runningSum = 0.0;
}

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

VstInt32 AveragerAN::historyNeeded() const {
  const std::optional<float> constant = constantWindow();
  return timeScale.storageFor(constant ? static_cast<VstInt32>(*constant) : kMaxFollowedWindow);
}

bool AveragerAN::allocateHistory() {
  const VstInt32 length = historyNeeded();
  std::unique_ptr<float[]> cleared(new (std::nothrow) float[length]());
  if (!cleared) return false;
  history = std::move(cleared);
  historyLength = length;
  windowLength = 0;
  if (const std::optional<float> constant = constantWindow()) setWindowLength(*constant);
  return true;
}

bool AveragerAN::setWindowLength(float requested) {
  if (!(requested >= 1.0f) || historyLength == 0) return false;
  const VstInt32 counted =
      requested >= static_cast<float>(kMaxWindowLength) ? kMaxWindowLength : static_cast<VstInt32>(requested);
  const VstInt32 length = std::clamp(timeScale.samplesAt(counted, runRate), 1, historyLength);
  if (length == windowLength) return true;
  std::fill(history.get(), history.get() + length, 0.0f);
  windowLength = length;
  writePos = 0;
  runningSum = 0.0;
  return true;
}
