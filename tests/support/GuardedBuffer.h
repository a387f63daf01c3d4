// A sample buffer for tests that must prove a routine stays inside the block
// it was given.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <vector>

// Holds size samples between two guard zones. The guards carry a NaN bit
// pattern that no arithmetic produces, so any write that strays past either
// end of the block is caught by guardsIntact().
class GuardedBuffer {
 public:
  explicit GuardedBuffer(std::size_t size, float fill = 0.0f) : length(size) {
    const float guard = std::bit_cast<float>(kGuardPattern);
    storage.reserve(length + 2 * kGuardLength);
    storage.insert(storage.end(), kGuardLength, guard);
    storage.insert(storage.end(), length, fill);
    storage.insert(storage.end(), kGuardLength, guard);
  }

  float* data() { return storage.data() + kGuardLength; }
  const float* data() const { return storage.data() + kGuardLength; }
  std::size_t size() const { return length; }
  float& operator[](std::size_t i) { return data()[i]; }
  float operator[](std::size_t i) const { return data()[i]; }
  std::vector<float> samples() const { return std::vector<float>(data(), data() + length); }

  bool guardsIntact() const {
    for (std::size_t i = 0; i < kGuardLength; ++i) {
      if (!isGuard(storage[i]) || !isGuard(storage[kGuardLength + length + i])) return false;
    }
    return true;
  }

 private:
  static constexpr std::size_t kGuardLength = 64;
  static constexpr std::uint32_t kGuardPattern = 0x7fa5a5a5u;

  static bool isGuard(float value) { return std::bit_cast<std::uint32_t>(value) == kGuardPattern; }

  std::vector<float> storage;
  std::size_t length;
};
