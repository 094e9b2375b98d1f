#include "vcard/value_decode.h"

#include <gtest/gtest.h>

namespace kontaktel {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes B(std::string_view s) { return Bytes(s.begin(), s.end()); }

// The decoders' rows are in tests/data/tables/values.txt; here what needs
// UTF-16 or sizes a table cannot hold.
TEST(DecodeValue, QuotedPrintableKeepsASurrogatePairWhole) {
  // Decoded everywhere; only UTF-16 text holds the pair as written here.
  const std::wstring decoded = DecodeValue(L"\xD83D\xDE00=21", true, L"UTF-8");
  if constexpr (sizeof(wchar_t) == 2) EXPECT_EQ(decoded, L"\xD83D\xDE00!");
}

TEST(DecodeBase64, RefusesInputAndOutputOverTheLimits) {
  // 11,184,811 characters give 8,388,608 bytes (the last bits are dropped);
  // one character more would give 8,388,609 bytes, and gives nothing.
  std::wstring text(11184811, L'A');
  EXPECT_EQ(DecodeBase64(text).size(), kMaxPhotoBytes);
  text.push_back(L'A');
  EXPECT_TRUE(DecodeBase64(text).empty());
  // Filler counts towards the input limit.
  std::wstring padded = L"SGVsbG8=" + std::wstring(kMaxBase64Chars - 8, L' ');
  EXPECT_EQ(DecodeBase64(padded), B("Hello"));
  padded.push_back(L' ');
  EXPECT_TRUE(DecodeBase64(padded).empty());
}

}  // namespace
}  // namespace kontaktel
