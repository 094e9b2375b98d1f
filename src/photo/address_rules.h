// The address rules of the photo download guard, apart from any network call:
// which host texts are acceptable names, how the resolver reads numeric hosts,
// and which IPv4 and IPv6 addresses a contact file must never make us fetch
// from (this machine, its private network, cloud metadata services).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kontaktel {

// Exactly four groups of decimal digits, each at most 255, leading zeros read
// as decimal (010 is 10); the first group lands in the top byte.
std::optional<uint32_t> ParseDottedQuad(std::wstring_view host);

// The reading of the system resolver (inet_aton): one to four parts, each
// decimal, octal (leading 0) or hexadecimal (0x), the last part filling the
// bytes that remain, so 127.1, 2130706433, 0x7f.1 and 017700000001 are all
// 127.0.0.1.
std::optional<uint32_t> ParseResolverIpv4(std::wstring_view host);

// This machine (0.0.0.0/8, 127.0.0.0/8), private networks (10.0.0.0/8,
// 172.16.0.0/12, 192.168.0.0/16), link-local 169.254.0.0/16, and the cloud
// metadata address 100.100.100.200 inside the otherwise allowed shared space.
bool IsBlockedIpv4(uint32_t address);

// Loopback, unspecified, link-local fe80::/10, unique-local fc00::/7, and the
// IPv4-mapped (::ffff:a.b.c.d) and -compatible (::a.b.c.d) forms of blocked
// IPv4 addresses.
bool IsBlockedIpv6(const std::array<uint8_t, 16>& address);

enum class HostVerdict {
  kBlocked,  // never fetched
  kAllowed,  // a numeric address outside every blocked range
  kResolve,  // a name: allowed only when every address it resolves to is
};

// Judges the host part of a URL without resolving anything: lower-cased, one
// trailing dot dropped, only ASCII letters, digits, '.' and '-' accepted, the
// loopback and cloud metadata names refused, numeric hosts read both as the
// resolver reads them and as plain decimal groups.
HostVerdict JudgeHost(std::wstring_view host);

// The host as JudgeHost compares it: lower-cased ASCII, without one trailing dot.
std::wstring NormalizeHost(std::wstring_view host);

}  // namespace kontaktel
