#include <cstdio>
#include <cstdlib>

#include "fuzz_targets.h"

namespace kontaktel::fuzz {

void Fail(const char* what) {
  std::fprintf(stderr, "fuzz check failed: %s\n", what);
  std::fflush(stderr);
  std::abort();
}

}  // namespace kontaktel::fuzz
