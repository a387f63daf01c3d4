// Running out of memory on demand, for tests that prove it is survived.
#pragma once

// While an AllocationFailure lives, every allocation on the constructing
// thread after the first `allowed` ones fails: operator new throws
// std::bad_alloc, its nothrow form gives nullptr. Other threads allocate as
// usual. Only the test executable that compiles AllocationFailure.cpp gets
// this replacement of the global allocation functions, which also report
// every allocation to AllocationCount.
class AllocationFailure {
 public:
  explicit AllocationFailure(long allowed);
  ~AllocationFailure();
  AllocationFailure(const AllocationFailure&) = delete;
  AllocationFailure& operator=(const AllocationFailure&) = delete;

  // Whether an allocation has been refused.
  bool struck() const;
};
