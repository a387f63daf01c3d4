// A graph run through its run plan against a twin of it run node by node, block by block.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <vector>

#include "TestBufferBank.h"
#include "graph/RunPlan.h"
#include "processors/TestCascade.h"
#include "support/RunNodeByNode.h"
#include "support/SameSamples.h"

struct PlanRun {
  // Whether two equalisers make the graph's input, as the engine's input filters do.
  bool inputFilters = false;
  VstInt32 lanes = PassWavefront::laneCapacity();
  unsigned seed = 1;
  std::size_t samples = 3000;
};

// planned and plain are built alike from one description. Both get the same random input in
// uneven blocks; after every block every bank entry must hold the same bits in both.
inline ::testing::AssertionResult planMatchesNodeByNode(AudioNode& planned, AudioNode& plain,
                                                        const PlanRun& run) {
  const Settings bass{.order = 1, .frequency = 0.015f, .k = 0.4f, .passes = 3};
  const Settings loMid{.order = 2, .frequency = 0.29f, .k = 0.7f, .passes = 1, .postGain = 1.7f};
  TestCascade plannedFilters[] = {TestCascade(bass), TestCascade(loMid)};
  TestCascade plainFilters[] = {TestCascade(bass), TestCascade(loMid)};
  TestBufferBank plannedBank(4096), plainBank(4096);
  const WavefrontSeries::Stage stages[] = {
      WavefrontSeries::equaliser(plannedFilters[0].cascade,
                                 plannedBank.bank.channel(BufferBank::kGraphOutput)),
      WavefrontSeries::equaliser(plannedFilters[1].cascade,
                                 plannedBank.bank.channel(BufferBank::kGraphInput))};
  const RunPlan plan(planned, plannedBank.bank, {stages, run.inputFilters ? 2 : 0}, run.lanes);
  for (std::size_t done = 0, block = 0; done < run.samples; ++block) {
    const int count = kUnevenBlocks[block % kUnevenBlocks.size()];
    const auto length = static_cast<std::size_t>(count);
    const std::vector<float> input = randomSignal(length, run.seed * 7919u + static_cast<unsigned>(block));
    if (run.inputFilters) {
      plan.run(count, input.data());
      plainFilters[0].process(input.data(), plainBank.bank.channel(BufferBank::kGraphOutput), count);
      plainFilters[1].process(plainBank.bank.channel(BufferBank::kGraphOutput),
                              plainBank.bank.channel(BufferBank::kGraphInput), count);
    } else {
      plannedBank.fill(BufferBank::kGraphInput, input);
      plainBank.fill(BufferBank::kGraphInput, input);
      plan.run(count);
    }
    runNodeByNode(plain, plainBank.bank, count);
    for (int entry = 0; entry < BufferBank::kEntryCount; ++entry) {
      ::testing::AssertionResult same =
          sameSamples(plainBank.read(entry, length), plannedBank.read(entry, length));
      if (!same) return same << " (block " << block << ", entry " << entry << ", " << run.lanes << " lanes)";
    }
    done += length;
  }
  if (!plannedBank.guardsIntact()) return ::testing::AssertionFailure() << "the plan wrote past a buffer";
  return ::testing::AssertionSuccess();
}
