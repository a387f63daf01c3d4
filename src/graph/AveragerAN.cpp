#include "graph/AveragerAN.h"

#include <algorithm>
#include <cmath>
#include <new>

void AveragerAN::processBlock(const BufferBank& bank, VstInt32 sampleFrames) {
  setWindowLength(getParam(0, 1.0f));
  // Until a valid window has been set there is nothing to measure into.
  if (windowLength == 0) return;
  const float* in = bank.channel(input ? input->outBuf : BufferBank::kGraphInput);
  // The position advances before it is written; a compare replaces the modulo's division.
  double sum = runningSum;
  VstInt32 position = writePos;
  float* slots = history.get();
  for (VstInt32 i = 0; i < sampleFrames; ++i) {
    if (++position >= windowLength) position = 0;
    sum -= slots[position];
    const float magnitude = std::fabs(in[i]);
    slots[position] = magnitude;
    sum += magnitude;
  }
  runningSum = sum;
  writePos = position;
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

bool AveragerAN::setWindowLength(float requested) {
  if (!isValidWindow(requested)) return false;
  const auto length = static_cast<VstInt32>(requested);
  if (length == windowLength) return true;
  std::unique_ptr<float[]> cleared(new (std::nothrow) float[length]());
  if (!cleared) return false;
  history = std::move(cleared);
  windowLength = length;
  writePos = 0;
  runningSum = 0.0;
  return true;
}
