// Counting allocations, for tests that prove a path allocates nothing.
#pragma once

// Counts the allocations that the constructing thread makes while the count lives. Only
// the test executable that compiles AllocationFailure.cpp, whose allocation functions report
// here, counts anything.
class AllocationCount {
 public:
  AllocationCount();
  AllocationCount(const AllocationCount&) = delete;
  AllocationCount& operator=(const AllocationCount&) = delete;

  // Made on the constructing thread since construction; ask it there.
  long allocations() const;

  // Called by the allocation functions for every allocation on the calling thread.
  static void note();

 private:
  long start;
};
