// The guard's address rules as tables: how numeric hosts are read, and which
// hosts are refused, with the public addresses right next to every blocked
// range allowed.
#include "photo/address_rules.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <initializer_list>
#include <vector>

namespace kontaktel {
namespace {

struct Reading {
  const wchar_t* host;
  std::optional<uint32_t> address;
};

TEST(ParseDottedQuad, ReadsFourDecimalGroupsOnly) {
  const Reading cases[] = {
      {L"127.0.0.1", 0x7F000001},    {L"255.255.255.255", 0xFFFFFFFF},
      {L"010.0.0.1", 0x0A000001},  // leading zeros are decimal
      {L"0127.0.0.1", 0x7F000001},   {L"256.1.1.1", std::nullopt},
      {L"1.2.3", std::nullopt},      {L"1..2.3", std::nullopt},
      {L"0x7f.0.0.1", std::nullopt}, {L"1.2.3.4a", std::nullopt},
  };
  for (const Reading& c : cases) EXPECT_EQ(ParseDottedQuad(c.host), c.address) << c.host;
}

TEST(ParseResolverIpv4, ReadsEveryNotationTheResolverAccepts) {
  const Reading cases[] = {
      {L"127.1", 0x7F000001},
      {L"0X7F.1", 0x7F000001},
      {L"0127.0.0.1", 0x57000001},  // octal 0127 is 87
      {L"0", 0},
      {L"0x", 0},  // the prefix alone reads as 0
      {L"4294967295", 0xFFFFFFFF},
      {L"4294967296", std::nullopt},
      {L"256.1", std::nullopt},
      {L"1.16777216", std::nullopt},  // more than the three bytes left
      {L"1.2.65536", std::nullopt},
      {L"08.0.0.1", std::nullopt},  // 8 is no octal digit
      {L"0xg.1", std::nullopt},
      {L"1.2.3.", std::nullopt},
      {L"", std::nullopt},
      {L"example.com", std::nullopt},
  };
  for (const Reading& c : cases) EXPECT_EQ(ParseResolverIpv4(c.host), c.address) << c.host;
}

struct Judgement {
  const wchar_t* host;
  HostVerdict verdict;
};

TEST(JudgeHost, BlockedRangesAndTheirPublicNeighbours) {
  constexpr HostVerdict kBlocked = HostVerdict::kBlocked, kAllowed = HostVerdict::kAllowed;
  const Judgement cases[] = {
      {L"0.0.0.0", kBlocked},         {L"0.255.255.255", kBlocked},
      {L"1.0.0.0", kAllowed},         {L"9.255.255.255", kAllowed},
      {L"10.0.0.0", kBlocked},        {L"10.255.255.255", kBlocked},
      {L"11.0.0.0", kAllowed},        {L"126.255.255.255", kAllowed},
      {L"127.0.0.0", kBlocked},       {L"127.0.0.1", kBlocked},
      {L"127.255.255.255", kBlocked}, {L"128.0.0.0", kAllowed},
      {L"169.253.255.255", kAllowed}, {L"169.254.0.0", kBlocked},
      {L"169.254.169.254", kBlocked}, {L"169.254.255.255", kBlocked},
      {L"169.255.0.0", kAllowed},     {L"172.15.255.255", kAllowed},
      {L"172.16.0.0", kBlocked},      {L"172.31.255.255", kBlocked},
      {L"172.32.0.0", kAllowed},      {L"192.167.255.255", kAllowed},
      {L"192.168.0.0", kBlocked},     {L"192.168.255.255", kBlocked},
      {L"192.169.0.0", kAllowed},     {L"100.100.100.199", kAllowed},
      {L"100.100.100.200", kBlocked}, {L"100.100.100.201", kAllowed},
  };
  for (const Judgement& c : cases) EXPECT_EQ(JudgeHost(c.host), c.verdict) << c.host;
}

TEST(JudgeHost, EverySpellingOfALocalAddressIsBlocked) {
  constexpr HostVerdict kBlocked = HostVerdict::kBlocked, kAllowed = HostVerdict::kAllowed;
  const Judgement cases[] = {
      {L"127.1", kBlocked},      {L"2130706432", kBlocked},  // 127.0.0.0
      {L"0x7f.1", kBlocked},     {L"017700000001", kBlocked},
      {L"0127.0.0.1", kBlocked},  // 87.0.0.1 to the resolver, 127.0.0.1 read as decimal
      {L"0x0b.1", kAllowed},      // 11.0.0.1
      {L"127.0.0.1.", kBlocked}, {L"1.2.3", kAllowed},  // 1.2.0.3
  };
  for (const Judgement& c : cases) EXPECT_EQ(JudgeHost(c.host), c.verdict) << c.host;
}

TEST(JudgeHost, NamesAreCheckedAndOtherwiseLeftToTheResolver) {
  constexpr HostVerdict kBlocked = HostVerdict::kBlocked, kResolve = HostVerdict::kResolve;
  const Judgement cases[] = {
      {L"localhost", kBlocked},
      {L"LOCALHOST", kBlocked},
      {L"localhost.", kBlocked},
      {L"metadata.google.internal", kBlocked},
      {L"Metadata.Google.Internal.", kBlocked},
      {L"metadata", kBlocked},
      {L"", kBlocked},
      {L".", kBlocked},
      {L"%31%32%37.0.0.1", kBlocked},
      {L"loc%61lhost", kBlocked},
      {L"\xFF11\xFF12\xFF17.0.0.1", kBlocked},  // full-width digits
      {L"\x043F\x0440\x0438\x043C\x0435\x0440.\x0440\x0444", kBlocked},
      {L"xn--e1afmkfd.xn--p1ai", kResolve},  // the same name as the resolver sends it
      {L"[::1]", kBlocked},
      {L"::1", kBlocked},
      {L"example.com:80", kBlocked},
      {L"exa mple.com", kBlocked},
      {L"example_host.com", kBlocked},
      {L"localhost..", kResolve},  // not the loopback name; resolves to nothing
      {L"my-localhost", kResolve},
      {L"metadata.google.internal.example.com", kResolve},
      {L"photos.example.com", kResolve},
      {L"256.1.1.1", kResolve},
      {L"1.2.3.4.5", kResolve},
      {L"0128.0.0.1", kResolve},  // a dotted quad to us, a name to the resolver
  };
  for (const Judgement& c : cases) EXPECT_EQ(JudgeHost(c.host), c.verdict) << c.host;
}

TEST(NormalizeHost, LowerCaseWithoutOneTrailingDot) {
  EXPECT_EQ(NormalizeHost(L"Photos.Example.COM."), L"photos.example.com");
  EXPECT_EQ(NormalizeHost(L"a.."), L"a.");
  EXPECT_EQ(NormalizeHost(L""), L"");
}

std::array<uint8_t, 16> V6(std::initializer_list<uint16_t> groups) {
  std::array<uint8_t, 16> bytes{};
  size_t i = 0;
  for (uint16_t group : groups) {
    bytes[i++] = static_cast<uint8_t>(group >> 8);
    bytes[i++] = static_cast<uint8_t>(group);
  }
  return bytes;
}

TEST(IsBlockedIpv6, LocalRangesAndEmbeddedLocalIpv4) {
  struct Case {
    const char* text;
    std::array<uint8_t, 16> address;
    bool blocked;
  };
  const Case cases[] = {
      {"::", V6({0, 0, 0, 0, 0, 0, 0, 0}), true},
      {"::1", V6({0, 0, 0, 0, 0, 0, 0, 1}), true},
      {"fe80::1", V6({0xfe80, 0, 0, 0, 0, 0, 0, 1}), true},
      {"febf::1", V6({0xfebf, 0, 0, 0, 0, 0, 0, 1}), true},
      {"fec0::1", V6({0xfec0, 0, 0, 0, 0, 0, 0, 1}), true},
      {"fe7f::1", V6({0xfe7f, 0, 0, 0, 0, 0, 0, 1}), false},
      {"fc00::1", V6({0xfc00, 0, 0, 0, 0, 0, 0, 1}), true},
      {"fdff::1", V6({0xfdff, 0, 0, 0, 0, 0, 0, 1}), true},
      {"fbff::1", V6({0xfbff, 0, 0, 0, 0, 0, 0, 1}), false},
      {"::ffff:127.0.0.1", V6({0, 0, 0, 0, 0, 0xffff, 0x7f00, 1}), true},
      {"::ffff:192.168.1.1", V6({0, 0, 0, 0, 0, 0xffff, 0xc0a8, 0x0101}), true},
      {"::ffff:100.100.100.200", V6({0, 0, 0, 0, 0, 0xffff, 0x6464, 0x64c8}), true},
      {"::ffff:11.22.33.44", V6({0, 0, 0, 0, 0, 0xffff, 0x0b16, 0x212c}), false},
      {"::127.0.0.1", V6({0, 0, 0, 0, 0, 0, 0x7f00, 1}), true},
      {"::11.22.33.44", V6({0, 0, 0, 0, 0, 0, 0x0b16, 0x212c}), false},
      {"64:ff9b::127.0.0.1", V6({0x64, 0xff9b, 0, 0, 0, 0, 0x7f00, 1}), true},
      {"64:ff9b::11.22.33.44", V6({0x64, 0xff9b, 0, 0, 0, 0, 0x0b16, 0x212c}), false},
      {"2002:c0a8:101::1", V6({0x2002, 0xc0a8, 0x0101, 0, 0, 0, 0, 1}), true},
      {"2002:b16:212c::1", V6({0x2002, 0x0b16, 0x212c, 0, 0, 0, 0, 1}), false},
      {"2001:db8::1", V6({0x2001, 0xdb8, 0, 0, 0, 0, 0, 1}), false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsBlockedIpv6(c.address), c.blocked) << c.text;
}

// One address in the radix a resolver part may have: decimal, 0-octal or 0x-hex.
std::wstring Part(uint32_t value, int radix) {
  wchar_t text[40];
  switch (radix) {
    case 8:
      swprintf(text, 40, L"0%o", value);
      break;
    case 16:
      swprintf(text, 40, L"0x%x", value);
      break;
    default:
      swprintf(text, 40, L"%u", value);
  }
  return text;
}

// Every way of writing the address in one to four parts, each part in each
// radix the resolver accepts.
std::vector<std::wstring> Spellings(uint32_t address) {
  std::vector<std::wstring> spellings;
  for (int parts = 1; parts <= 4; ++parts) {
    for (int radixes = 0; radixes < 81; ++radixes) {  // 3^4 radix choices
      std::wstring text;
      int choice = radixes;
      for (int i = 0; i < parts; ++i) {
        static constexpr int kRadixes[] = {10, 8, 16};
        const int radix = kRadixes[choice % 3];
        choice /= 3;
        const bool last = i == parts - 1;
        const int shift = 24 - 8 * i;
        const uint32_t value = last ? (shift == 24 ? address : address & ((1u << (shift + 8)) - 1))
                                    : (address >> shift) & 0xFF;
        if (i > 0) text += L'.';
        text += Part(value, radix);
      }
      spellings.push_back(text);
    }
  }
  return spellings;
}

TEST(JudgeHost, EverySpellingOfAnAddressGetsTheVerdictOfTheAddress) {
  const uint32_t addresses[] = {
      0x00000000, 0x00FFFFFF, 0x01000000, 0x09FFFFFF, 0x0A000000, 0x0AFFFFFF, 0x0B000000,
      0x7EFFFFFF, 0x7F000000, 0x7F000001, 0x7FFFFFFF, 0x80000000, 0xA9FDFFFF, 0xA9FE0000,
      0xA9FEA9FE, 0xA9FEFFFF, 0xA9FF0000, 0xAC0FFFFF, 0xAC100000, 0xAC1FFFFF, 0xAC200000,
      0xC0A7FFFF, 0xC0A80000, 0xC0A8FFFF, 0xC0A90000, 0x646464C7, 0x646464C8, 0x646464C9,
      0x64400001, 0x0B16212C, 0x08080808};
  for (uint32_t address : addresses) {
    const HostVerdict expected =
        IsBlockedIpv4(address) ? HostVerdict::kBlocked : HostVerdict::kAllowed;
    for (const std::wstring& spelling : Spellings(address)) {
      EXPECT_EQ(ParseResolverIpv4(spelling), address) << spelling;
      // Read as plain decimal groups, a spelling may land elsewhere; it is
      // blocked when either reading is.
      const std::optional<uint32_t> decimal = ParseDottedQuad(spelling);
      const HostVerdict verdict =
          decimal && IsBlockedIpv4(*decimal) ? HostVerdict::kBlocked : expected;
      EXPECT_EQ(JudgeHost(spelling), verdict) << spelling;
    }
  }
}

}  // namespace
}  // namespace kontaktel
