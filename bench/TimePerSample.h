// The per-sample cost counter of the block benchmarks.
#pragma once

#include <benchmark/benchmark.h>

// Reports seconds per sample for a benchmark that processed samplesPerIteration samples in each
// iteration; the library shows it with its own prefix (n for ns).
inline void reportTimePerSample(benchmark::State& state, double samplesPerIteration) {
  state.counters["time_per_sample"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * samplesPerIteration,
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
