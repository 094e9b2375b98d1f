// The guard in front of every photo download: a contact file must never make
// the user's machine fetch from itself, its private network or a cloud
// metadata service, whatever spelling of the address it uses.
#pragma once

#include <optional>
#include <string>

namespace kontaktel {

// True when the URL must not be fetched: not http or https, a host that is no
// plain ASCII name, a name or address of this machine, its private network or
// a metadata service, or a name that resolves to no address or to any blocked
// one (IPv4 or IPv6). Resolves names, so it runs on a worker thread only.
struct CrackedPhotoUrl {
  int scheme = 0;     // INTERNET_SCHEME_*
  std::wstring host;  // as written in the URL
};

// The URL taken apart by WinINet's own cracker, the one its requests use;
// nothing for a URL it refuses or whose host exceeds 256 characters.
std::optional<CrackedPhotoUrl> CrackPhotoUrl(const std::wstring& url);

bool IsBlockedPhotoUrl(const std::wstring& url);

// The scheme-independent part: whether a name resolves, and only to allowed
// addresses. False for a name that resolves to nothing.
bool ResolvesOnlyToAllowedAddresses(const std::wstring& host);

}  // namespace kontaktel
