// Sample-for-sample comparison of an optimised path with its plain form.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <cstring>
#include <random>
#include <vector>

// Every sample has the same bits in both, or is not a number in both (the payload of a NaN
// that two operands carry may come from either).
inline ::testing::AssertionResult sameSamples(const std::vector<float>& expected, const std::vector<float>& actual) {
  if (expected.size() != actual.size()) {
    return ::testing::AssertionFailure() << "lengths " << expected.size() << " and " << actual.size();
  }
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const bool bothNan = std::isnan(expected[i]) && std::isnan(actual[i]);
    if (!bothNan && std::memcmp(&expected[i], &actual[i], sizeof(float)) != 0) {
      return ::testing::AssertionFailure() << "sample " << i << ": expected " << expected[i] << ", got "
                                           << actual[i];
    }
  }
  return ::testing::AssertionSuccess();
}

// Block lengths that do not divide evenly into groups of four or into one another.
inline const std::vector<int> kUnevenBlocks = {1, 3, 7, 13, 509, 2, 1031, 5, 12, 17, 6, 64, 11};

// Uniform noise in [-amplitude, amplitude], reproducible from the seed.
inline std::vector<float> randomSignal(std::size_t length, unsigned seed, float amplitude = 1.0f) {
  std::mt19937 generator(seed);
  std::uniform_real_distribution<float> distribution(-amplitude, amplitude);
  std::vector<float> signal(length);
  for (float& sample : signal) sample = distribution(generator);
  return signal;
}
