#include "photo/url_guard.h"

#include <windows.h>
#include <wininet.h>
#include <winsock2.h>
#include <ws2tcpip.h>

#include <array>
#include <cstring>

#include "photo/address_rules.h"
#include "win/net_handles.h"

namespace kontaktel {

namespace {

constexpr DWORD kHostBufferLength = 256;

bool IsBlockedAddress(const sockaddr* address) {
  if (address == nullptr) return true;
  if (address->sa_family == AF_INET) {
    const auto* v4 = reinterpret_cast<const sockaddr_in*>(address);
    return IsBlockedIpv4(ntohl(v4->sin_addr.s_addr));
  }
  if (address->sa_family == AF_INET6) {
    const auto* v6 = reinterpret_cast<const sockaddr_in6*>(address);
    std::array<uint8_t, 16> bytes{};
    std::memcpy(bytes.data(), &v6->sin6_addr, bytes.size());
    return IsBlockedIpv6(bytes);
  }
  return true;  // an address family WinINet could not use anyway
}

}  // namespace

std::optional<CrackedPhotoUrl> CrackPhotoUrl(const std::wstring& url) {
  wchar_t host[kHostBufferLength] = {};
  URL_COMPONENTSW parts{};
  parts.dwStructSize = sizeof(parts);
  parts.lpszHostName = host;
  parts.dwHostNameLength = kHostBufferLength;
  if (!InternetCrackUrlW(url.c_str(), 0, 0, &parts)) return std::nullopt;
  return CrackedPhotoUrl{parts.nScheme, std::wstring(host, parts.dwHostNameLength)};
}

bool ResolvesOnlyToAllowedAddresses(const std::wstring& host) {
  WinsockScope winsock;
  if (!winsock.Started()) return false;
  ADDRINFOW hints{};
  hints.ai_family = AF_UNSPEC;  // every IPv4 and IPv6 address the name has
  hints.ai_socktype = SOCK_STREAM;
  ADDRINFOW* first = nullptr;
  if (GetAddrInfoW(host.c_str(), nullptr, &hints, &first) != 0) return false;
  const UniqueAddressInfo answers(first);
  bool any = false;
  for (const ADDRINFOW* info = first; info != nullptr; info = info->ai_next) {
    if (IsBlockedAddress(info->ai_addr)) return false;
    any = true;
  }
  return any;
}

bool IsBlockedPhotoUrl(const std::wstring& url) {
  const std::optional<CrackedPhotoUrl> parts = CrackPhotoUrl(url);
  if (!parts) return true;  // a host longer than its buffer included
  if (parts->scheme != INTERNET_SCHEME_HTTP && parts->scheme != INTERNET_SCHEME_HTTPS) return true;
  switch (JudgeHost(parts->host)) {
    case HostVerdict::kBlocked:
      return true;
    case HostVerdict::kAllowed:
      return false;
    case HostVerdict::kResolve:
      return !ResolvesOnlyToAllowedAddresses(NormalizeHost(parts->host));
  }
  return true;
}

}  // namespace kontaktel
