// Exhausted memory on demand. A test program that links this library has every form of
// the global operator new replaced: off by default, they allocate with malloc; armed, the
// n-th allocation from that moment fails the way exhausted memory does (std::bad_alloc, or
// null from the nothrow forms). One failure per arming, so the code that catches it has
// memory to report with.
//
// Allocations are counted process-wide; arm only around the call under test.
#pragma once

namespace m5test {

// Allocations made through operator new since the counter was made.
class AllocationCounter {
 public:
  AllocationCounter();
  long Count() const;

 private:
  long m_start;
};

// Arms the failure for the lifetime of the object.
class FailingAllocation {
 public:
  // nth 1 fails the next allocation.
  explicit FailingAllocation(long nth);
  ~FailingAllocation();
  FailingAllocation(const FailingAllocation&) = delete;
  FailingAllocation& operator=(const FailingAllocation&) = delete;

  // Whether the armed allocation has come and failed.
  bool Failed() const;
};

}  // namespace m5test
