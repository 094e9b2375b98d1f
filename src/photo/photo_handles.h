// Owners for the handles of photo downloads: WinINet handles, resolver
// answers, thread handles and references on the plugin module.
#pragma once

#include <windows.h>
#include <wininet.h>
#include <ws2tcpip.h>

#include <utility>

namespace kontaktel {

template <typename Handle, void (*Free)(Handle)>
class UniqueResource {
 public:
  UniqueResource() = default;
  explicit UniqueResource(Handle handle) : handle_(handle) {}
  UniqueResource(UniqueResource&& other) noexcept
      : handle_(std::exchange(other.handle_, Handle{})) {}
  UniqueResource& operator=(UniqueResource&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.handle_, Handle{}));
    return *this;
  }
  UniqueResource(const UniqueResource&) = delete;
  UniqueResource& operator=(const UniqueResource&) = delete;
  ~UniqueResource() { Reset(); }

  Handle Get() const { return handle_; }
  explicit operator bool() const { return handle_ != Handle{}; }
  void Reset(Handle handle = Handle{}) {
    if (handle_ != Handle{}) Free(handle_);
    handle_ = handle;
  }
  Handle Release() { return std::exchange(handle_, Handle{}); }

 private:
  Handle handle_{};
};

inline void CloseInternetHandle(HINTERNET handle) {
  InternetCloseHandle(handle);
}
inline void FreeAddressInfo(ADDRINFOW* info) {
  FreeAddrInfoW(info);
}
inline void CloseKernelHandle(HANDLE handle) {
  CloseHandle(handle);
}
inline void ReleaseModule(HMODULE module) {
  FreeLibrary(module);
}

using UniqueInternet = UniqueResource<HINTERNET, CloseInternetHandle>;
using UniqueAddressInfo = UniqueResource<ADDRINFOW*, FreeAddressInfo>;
using UniqueKernelHandle = UniqueResource<HANDLE, CloseKernelHandle>;
// A reference on a module (GetModuleHandleEx or LoadLibrary), given back with
// FreeLibrary unless it is handed to FreeLibraryAndExitThread.
using ModuleReference = UniqueResource<HMODULE, ReleaseModule>;

// Winsock for one thread's resolver calls.
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
