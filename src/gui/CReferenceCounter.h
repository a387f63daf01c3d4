// Reference counting for bitmaps and views.
#pragma once

#include <cstdint>

// Starts with one reference, held by the creator. forget() drops a reference
// and deletes the object when none is left.
class CReferenceCounter {
 public:
  CReferenceCounter() = default;
  CReferenceCounter(const CReferenceCounter&) = delete;
  CReferenceCounter& operator=(const CReferenceCounter&) = delete;
  virtual ~CReferenceCounter() = default;

  void remember() { ++referenceCount; }
  void forget() {
    if (--referenceCount == 0) delete this;
  }
  std::int32_t getNbReference() const { return referenceCount; }

 private:
  std::int32_t referenceCount = 1;
};
