// The network: WinINet handles, resolver answers and Winsock for one thread.
#pragma once

#include <windows.h>
#include <wininet.h>
#include <ws2tcpip.h>

#include "win/unique_handle.h"

namespace kontaktel {

struct InternetTraits : Uncounted {
  static void Free(HINTERNET handle) { InternetCloseHandle(handle); }
};
using UniqueInternet = UniqueHandle<HINTERNET, InternetTraits>;

struct AddressInfoTraits : Uncounted {
  static void Free(ADDRINFOW* info) { FreeAddrInfoW(info); }
};
using UniqueAddressInfo = UniqueHandle<ADDRINFOW*, AddressInfoTraits>;

// WSAStartup and WSACleanup as one object, for one thread's resolver calls.
class WinsockScope {
 public:
  WinsockScope() {
    WSADATA data{};
    started_ = WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }
  ~WinsockScope() {
    if (started_) WSACleanup();
  }
  WinsockScope(const WinsockScope&) = delete;
  WinsockScope& operator=(const WinsockScope&) = delete;
  bool Started() const { return started_; }

 private:
  bool started_ = false;
};

}  // namespace kontaktel
