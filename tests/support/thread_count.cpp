#include "support/thread_count.h"

#include <windows.h>
#include <tlhelp32.h>

namespace kontaktel::test {

int ThreadsStartingIn(const void* begin, const void* end) {
  using Query = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
  const auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationThread")));
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  int count = 0;
  const auto* first = static_cast<const char*>(begin);
  const auto* last = static_cast<const char*>(end);
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID != GetCurrentProcessId()) continue;
    const HANDLE thread = OpenThread(THREAD_QUERY_INFORMATION, FALSE, entry.th32ThreadID);
    const char* start = nullptr;
    constexpr int kWin32StartAddress = 9;
    if (thread != nullptr && query(thread, kWin32StartAddress, &start, sizeof start, nullptr) == 0 &&
        start >= first && start < last) {
      ++count;
    }
    if (thread != nullptr) CloseHandle(thread);
  }
  CloseHandle(snapshot);
  return count;
}

}  // namespace kontaktel::test
