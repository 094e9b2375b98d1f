// Threads of the test process told apart by where they started: Wine reads
// every handle count as 0, so the start address is what identifies them.
#pragma once

namespace kontaktel::test {

// The threads of this process whose start address lies in [begin, end).
int ThreadsStartingIn(const void* begin, const void* end);

}  // namespace kontaktel::test
