#include "photo/address_rules.h"

#include <algorithm>

namespace kontaktel {

namespace {

// Names that reach this machine or a cloud instance's metadata service without
// any DNS record of the file's author.
constexpr std::wstring_view kBlockedNames[] = {L"localhost", L"metadata.google.internal",
                                               L"metadata"};

bool IsDecimalDigit(wchar_t c) {
  return c >= L'0' && c <= L'9';
}

int DigitValue(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  return 99;
}

// One part of a resolver-style address: 0x… hexadecimal (the prefix alone is
// 0, as the resolver reads it), 0… octal, else decimal.
std::optional<uint64_t> ParseResolverPart(std::wstring_view part) {
  if (part.empty()) return std::nullopt;
  int base = 10;
  if (part.size() >= 2 && part[0] == L'0' && (part[1] == L'x' || part[1] == L'X')) {
    base = 16;
    part.remove_prefix(2);
  } else if (part[0] == L'0') {
    base = 8;
  }
  uint64_t value = 0;
  for (wchar_t c : part) {
    const int digit = DigitValue(c);
    if (digit >= base) return std::nullopt;
    value = value * base + digit;
    if (value > 0xFFFFFFFFull) return std::nullopt;
  }
  return value;
}

bool InRange(uint32_t address, uint32_t network, int prefixBits) {
  const uint32_t mask = prefixBits == 0 ? 0 : ~uint32_t{0} << (32 - prefixBits);
  return (address & mask) == network;
}

uint32_t Ipv4At(const std::array<uint8_t, 16>& address, size_t offset) {
  return uint32_t{address[offset]} << 24 | uint32_t{address[offset + 1]} << 16 |
         uint32_t{address[offset + 2]} << 8 | uint32_t{address[offset + 3]};
}

}  // namespace

std::optional<uint32_t> ParseDottedQuad(std::wstring_view host) {
  uint32_t address = 0;
  size_t pos = 0;
  for (int group = 0; group < 4; ++group) {
    if (group > 0) {
      if (pos >= host.size() || host[pos] != L'.') return std::nullopt;
      ++pos;
    }
    if (pos >= host.size() || !IsDecimalDigit(host[pos])) return std::nullopt;
    uint32_t value = 0;
    while (pos < host.size() && IsDecimalDigit(host[pos])) {
      value = value * 10 + (host[pos] - L'0');
      if (value > 255) return std::nullopt;
      ++pos;
    }
    address = address << 8 | value;
  }
  if (pos != host.size()) return std::nullopt;
  return address;
}

std::optional<uint32_t> ParseResolverIpv4(std::wstring_view host) {
  uint64_t parts[4] = {};
  size_t count = 0;
  size_t start = 0;
  while (true) {
    if (count == 4) return std::nullopt;
    const size_t dot = host.find(L'.', start);
    const std::wstring_view text =
        host.substr(start, dot == std::wstring_view::npos ? std::wstring_view::npos : dot - start);
    const std::optional<uint64_t> part = ParseResolverPart(text);
    if (!part) return std::nullopt;
    parts[count++] = *part;
    if (dot == std::wstring_view::npos) break;
    start = dot + 1;
  }
  // Every part but the last is one byte; the last fills what is left.
  uint32_t address = 0;
  for (size_t i = 0; i + 1 < count; ++i) {
    if (parts[i] > 255) return std::nullopt;
    address |= static_cast<uint32_t>(parts[i]) << (24 - 8 * i);
  }
  const int lastBits = 32 - 8 * static_cast<int>(count - 1);
  const uint64_t last = parts[count - 1];
  if (lastBits < 32 && last >= (uint64_t{1} << lastBits)) return std::nullopt;
  return address | static_cast<uint32_t>(last);
}

bool IsBlockedIpv4(uint32_t address) {
  return InRange(address, 0x00000000, 8) ||   // this network
         InRange(address, 0x0A000000, 8) ||   // 10/8
         InRange(address, 0x7F000000, 8) ||   // loopback
         InRange(address, 0xA9FE0000, 16) ||  // link-local, cloud metadata 169.254.169.254
         InRange(address, 0xAC100000, 12) ||  // 172.16/12
         InRange(address, 0xC0A80000, 16) ||  // 192.168/16
         address == 0x646464C8;               // 100.100.100.200, a cloud's metadata service
}

bool IsBlockedIpv6(const std::array<uint8_t, 16>& address) {
  const auto zeroUpTo = [&](size_t end) {
    return std::all_of(address.begin(), address.begin() + end, [](uint8_t b) { return b == 0; });
  };
  if (zeroUpTo(12)) return IsBlockedIpv4(Ipv4At(address, 12));  // ::, ::1 and ::a.b.c.d
  if (zeroUpTo(10) && address[10] == 0xFF && address[11] == 0xFF) {
    return IsBlockedIpv4(Ipv4At(address, 12));  // ::ffff:a.b.c.d
  }
  // NAT64's well-known prefix 64:ff9b::/96 carries an IPv4 address too.
  static constexpr uint8_t kNat64[12] = {0x00, 0x64, 0xFF, 0x9B};
  if (std::equal(address.begin(), address.begin() + 12, kNat64)) {
    return IsBlockedIpv4(Ipv4At(address, 12));
  }
  // 6to4 (2002::/16) names the IPv4 address of its relay.
  if (address[0] == 0x20 && address[1] == 0x02 && IsBlockedIpv4(Ipv4At(address, 2))) return true;
  if (address[0] == 0xFE && (address[1] & 0xC0) == 0x80) return true;  // link-local fe80::/10
  if (address[0] == 0xFE && (address[1] & 0xC0) == 0xC0) return true;  // old site-local fec0::/10
  if ((address[0] & 0xFE) == 0xFC) return true;                        // unique-local fc00::/7
  return false;
}

std::wstring NormalizeHost(std::wstring_view host) {
  std::wstring normal(host);
  for (wchar_t& c : normal) {
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
  }
  // "localhost." is the same machine as "localhost": a fully qualified name.
  if (!normal.empty() && normal.back() == L'.') normal.pop_back();
  return normal;
}

HostVerdict JudgeHost(std::wstring_view host) {
  const std::wstring normal = NormalizeHost(host);
  if (normal.empty()) return HostVerdict::kBlocked;
  // Percent-encoded, full-width and other non-ASCII hosts are turned into
  // names by rules of their own further down; none of them is a real need.
  const bool plain = std::all_of(normal.begin(), normal.end(), [](wchar_t c) {
    return (c >= L'a' && c <= L'z') || IsDecimalDigit(c) || c == L'.' || c == L'-';
  });
  if (!plain) return HostVerdict::kBlocked;
  for (std::wstring_view name : kBlockedNames) {
    if (normal == name) return HostVerdict::kBlocked;
  }
  const std::optional<uint32_t> resolverReading = ParseResolverIpv4(normal);
  const std::optional<uint32_t> decimalReading = ParseDottedQuad(normal);
  if ((resolverReading && IsBlockedIpv4(*resolverReading)) ||
      (decimalReading && IsBlockedIpv4(*decimalReading))) {
    return HostVerdict::kBlocked;
  }
  // Only the resolver's own reading says where the connection goes; a host
  // that is a dotted quad to us alone (0128.0.0.1) is a name to the resolver.
  if (resolverReading) return HostVerdict::kAllowed;
  return HostVerdict::kResolve;
}

}  // namespace kontaktel
