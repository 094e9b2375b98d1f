// A count of live records or running workers for the leak checks: counted in
// the tests' build of the photo sources only; in the product it is empty.
#pragma once

#include <atomic>

namespace kontaktel {

class TestCounter {
 public:
#ifdef KONTAKTEL_TEST_HOOKS
  void operator++() { ++value_; }
  void operator--() { --value_; }
  int Value() const { return value_; }

 private:
  std::atomic<int> value_{0};
#else
  void operator++() {}
  void operator--() {}
#endif
};

}  // namespace kontaktel
