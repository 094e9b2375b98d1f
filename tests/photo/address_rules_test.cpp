// The guard's address rules: the table in tests/data/address-rules.txt (how
// numeric hosts are read, which hosts are refused, with the public addresses
// right next to every blocked range allowed), and every spelling of an address.
#include "photo/address_rules.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cwchar>
#include <sstream>
#include <vector>

#include "support/temp_file.h"

namespace kontaktel {
namespace {

// Reads UTF-8 text as wide text, one code point per character (the table's
// hosts lie in the Basic Multilingual Plane).
std::wstring Wide(const std::string& utf8) {
  std::wstring text;
  for (size_t i = 0; i < utf8.size();) {
    const auto byte = static_cast<unsigned char>(utf8[i]);
    const int length = byte < 0x80 ? 1 : byte < 0xE0 ? 2 : 3;
    unsigned code = length == 1 ? byte : byte & (length == 2 ? 0x1F : 0x0F);
    for (int k = 1; k < length; ++k) code = code << 6 | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    text += static_cast<wchar_t>(code);
    i += static_cast<size_t>(length);
  }
  return text;
}

// Every row of tests/data/address-rules.txt: FUNCTION|INPUT|EXPECTED.
TEST(AddressRules, AsTheTableSays) {
  std::istringstream rows(test::ReadFixture("address-rules.txt"));
  int checked = 0;
  for (std::string row; std::getline(rows, row);) {
    if (row.empty() || row[0] == '#') continue;
    const size_t bar = row.find('|'), last = row.rfind('|');
    const std::string what = row.substr(0, bar), expected = row.substr(last + 1);
    const std::wstring input = Wide(row.substr(bar + 1, last - bar - 1));
    std::string actual;
    if (what == "dotted" || what == "resolver") {
      const auto address = what == "dotted" ? ParseDottedQuad(input) : ParseResolverIpv4(input);
      char hex[16] = "-";
      if (address) std::snprintf(hex, sizeof hex, "%08x", static_cast<unsigned>(*address));
      actual = hex;
    } else if (what == "judge") {
      const HostVerdict verdict = JudgeHost(input);
      actual = verdict == HostVerdict::kBlocked   ? "blocked"
               : verdict == HostVerdict::kAllowed ? "allowed"
                                                  : "resolve";
    } else if (what == "normalize") {
      for (const wchar_t c : NormalizeHost(input)) actual += static_cast<char>(c);
    } else if (what == "ipv6") {
      std::array<uint8_t, 16> address{};
      for (size_t i = 0; i < 16; ++i)
        address[i] = static_cast<uint8_t>(std::stoi(row.substr(bar + 1 + 2 * i, 2), nullptr, 16));
      actual = IsBlockedIpv6(address) ? "blocked" : "allowed";
    }
    EXPECT_EQ(actual, expected) << row;
    ++checked;
  }
  EXPECT_GT(checked, 100);
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
