// Counts the bytes that operator new hands out while a scope is open, so that
// a test can pin work as linear in the input without timing anything.
#pragma once

#include <cstddef>

namespace kontaktel::test {

class AllocationCounter {
 public:
  AllocationCounter();
  ~AllocationCounter();
  AllocationCounter(const AllocationCounter&) = delete;
  AllocationCounter& operator=(const AllocationCounter&) = delete;
  size_t Bytes() const;
};

}  // namespace kontaktel::test
