// A full-size buffer bank for graph tests, with guard zones around every buffer.
#pragma once

#include <cstddef>
#include <vector>

#include "graph/BufferBank.h"
#include "support/GuardedBuffer.h"

// Every entry's channel table holds its one channel pointer followed by a null pointer, so
// a processor that reaches for a second channel fails loudly. Samples start at kUntouched.
class TestBufferBank {
 public:
  static constexpr float kUntouched = 777.0f;

  explicit TestBufferBank(std::size_t length = BufferBank::kBufferLength) {
    buffers.reserve(BufferBank::kEntryCount);
    for (int entry = 0; entry < BufferBank::kEntryCount; ++entry) {
      buffers.emplace_back(length, kUntouched);
      tables[entry][0] = buffers[entry].data();
      tables[entry][1] = nullptr;
      bank.entries[entry] = tables[entry];
    }
  }
  TestBufferBank(const TestBufferBank&) = delete;
  TestBufferBank& operator=(const TestBufferBank&) = delete;

  GuardedBuffer& operator[](int entry) { return buffers[entry]; }

  void fill(int entry, const std::vector<float>& samples, std::size_t offset = 0) {
    for (std::size_t i = 0; i < samples.size(); ++i) buffers[entry][offset + i] = samples[i];
  }

  std::vector<float> read(int entry, std::size_t count, std::size_t offset = 0) const {
    const float* samples = buffers[entry].data() + offset;
    return std::vector<float>(samples, samples + count);
  }

  bool guardsIntact() const {
    for (const GuardedBuffer& buffer : buffers) {
      if (!buffer.guardsIntact()) return false;
    }
    return true;
  }

  BufferBank bank;

 private:
  std::vector<GuardedBuffer> buffers;
  float* tables[BufferBank::kEntryCount][2] = {};
};
