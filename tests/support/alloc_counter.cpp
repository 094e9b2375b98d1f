#include "support/alloc_counter.h"

#include <cstdlib>
#include <new>

namespace {

bool counting = false;
size_t countedBytes = 0;

void* Allocate(size_t size) {
  if (counting) countedBytes += size;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}

}  // namespace

void* operator new(size_t size) { return Allocate(size); }
void* operator new[](size_t size) { return Allocate(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }
void operator delete[](void* p, size_t) noexcept { std::free(p); }

namespace kontaktel::test {

AllocationCounter::AllocationCounter() {
  countedBytes = 0;
  counting = true;
}

AllocationCounter::~AllocationCounter() { counting = false; }

size_t AllocationCounter::Bytes() const { return countedBytes; }

}  // namespace kontaktel::test
