// Runs a processor over one channel through its effect record, as the engine's fx nodes do.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <initializer_list>
#include <vector>

#include "frame/VstInterface.h"
#include "support/GuardedBuffer.h"

// Feeds input to the record's processReplacing entry in blocks whose sizes repeat the given
// pattern, and returns the output. Both buffers carry guard zones that must stay intact.
inline std::vector<float> processInPieces(AEffect& record, const std::vector<float>& input,
                                          std::initializer_list<VstInt32> pattern) {
  GuardedBuffer in(input.size());
  GuardedBuffer out(input.size(), -123.0f);
  std::copy(input.begin(), input.end(), in.data());
  const std::vector<VstInt32> sizes(pattern);
  for (std::size_t done = 0, piece = 0; done < input.size(); piece = (piece + 1) % sizes.size()) {
    const auto count = static_cast<VstInt32>(std::min<std::size_t>(sizes[piece], input.size() - done));
    float* inputs[] = {in.data() + done};
    float* outputs[] = {out.data() + done};
    record.processReplacing(&record, inputs, outputs, count);
    done += static_cast<std::size_t>(count);
  }
  EXPECT_TRUE(in.guardsIntact());
  EXPECT_TRUE(out.guardsIntact());
  return out.samples();
}

inline std::vector<float> processWhole(AEffect& record, const std::vector<float>& input) {
  return processInPieces(record, input, {static_cast<VstInt32>(input.size())});
}

// A deterministic test signal in [-amplitude, amplitude] with no repeating pattern.
inline std::vector<float> testSignal(std::size_t length, float amplitude = 1.0f) {
  std::vector<float> signal(length);
  unsigned state = 12345u;
  for (float& sample : signal) {
    state = state * 1664525u + 1013904223u;
    sample = amplitude * (static_cast<float>(state >> 8) / 8388608.0f - 1.0f);
  }
  return signal;
}

// Two channels of guarded input and output, each channel filled with one value.
struct StereoBlock {
  StereoBlock(std::size_t length, float in0Fill, float in1Fill, float outputFill)
      : in0(length, in0Fill), in1(length, in1Fill), out0(length, outputFill), out1(length, outputFill) {}

  bool guardsIntact() const {
    return in0.guardsIntact() && in1.guardsIntact() && out0.guardsIntact() && out1.guardsIntact();
  }

  GuardedBuffer in0, in1, out0, out1;
  float* inputs[2] = {in0.data(), in1.data()};
  float* outputs[2] = {out0.data(), out1.data()};
};
