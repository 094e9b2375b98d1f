#include "text/text_util.h"

#include <gtest/gtest.h>

namespace kontaktel {
namespace {

TEST(IsSpaceChar, FollowsTheDefaultLocaleClassOnEveryPlatform) {
  struct Case {
    wchar_t c;
    bool space;
  };
  const Case cases[] = {
      {0x09, true},   {0x0A, true},   {0x0B, true},  {0x0C, true},   {0x0D, true},
      {0x20, true},   {0x85, true},   {0xA0, true},  {0x08, false},  {0x0E, false},
      {0x1C, false},  {0x1F, false},  {0x00, false}, {L'A', false},  {0x84, false},
      {0x86, false},  {0xAD, false},  {0xFF, false}, {0x3000, true}, {0x2003, true},
      {0x2028, true}, {0x0410, false}, {0xFEFF, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsSpaceChar(c.c), c.space) << "U+" << std::hex << static_cast<unsigned>(c.c);
  }
}

TEST(TrimSpace, RemovesWhiteSpaceAtBothEndsOnly) {
  EXPECT_EQ(TrimSpace(L"  FN:John  "), L"FN:John");
  EXPECT_EQ(TrimSpace(L"\t\x0B\x0C\x85\xA0 TEL:1 2 \r\n"), L"TEL:1 2");
  EXPECT_EQ(TrimSpace(L"\x3000N:Doe\x3000"), L"N:Doe");
  EXPECT_EQ(TrimSpace(L" \t "), L"");
  EXPECT_EQ(TrimSpace(L""), L"");
  // A NUL is not white space: it stays part of the line.
  EXPECT_EQ(TrimSpace(std::wstring_view(L"\0A ", 3)), std::wstring_view(L"\0A", 2));
}

TEST(AsciiUpper, ChangesOnlyAsciiLetters) {
  EXPECT_EQ(AsciiUpper(L"item1.tel;type=cell"), L"ITEM1.TEL;TYPE=CELL");
  EXPECT_EQ(AsciiUpper(L"\x0431\x00e9z"), L"\x0431\x00e9Z");
  EXPECT_EQ(AsciiUpper(L""), L"");
}

TEST(StripQuotes, RemovesOnePairOnly) {
  EXPECT_EQ(StripQuotes(L"\"cell,voice\""), L"cell,voice");
  EXPECT_EQ(StripQuotes(L"\"\"x\"\""), L"\"x\"");
  EXPECT_EQ(StripQuotes(L"\"\""), L"");
  EXPECT_EQ(StripQuotes(L"\""), L"\"");
  EXPECT_EQ(StripQuotes(L"\"open"), L"\"open");
  EXPECT_EQ(StripQuotes(L"close\""), L"close\"");
}

TEST(SplitFields, KeepsEmptySegments) {
  using Fields = std::vector<std::wstring_view>;
  EXPECT_EQ(SplitFields(L"a;;b;", L';'), (Fields{L"a", L"", L"b", L""}));
  EXPECT_EQ(SplitFields(L"", L';'), (Fields{L""}));
  EXPECT_EQ(SplitFields(L";", L';'), (Fields{L"", L""}));
  // Quotes and backslashes do not protect a separator.
  EXPECT_EQ(SplitFields(L"\"a;b\"\\;c", L';'), (Fields{L"\"a", L"b\"\\", L"c"}));
}

}  // namespace
}  // namespace kontaktel

namespace kontaktel {
namespace {

TEST(EqualsAsciiUpper, IgnoresTheCaseOfAsciiLettersOnly) {
  EXPECT_TRUE(EqualsAsciiUpper(L"begin:vCard", L"BEGIN:VCARD"));
  EXPECT_FALSE(EqualsAsciiUpper(L"BEGIN:VCARD ", L"BEGIN:VCARD"));
  // Non-ASCII letters are not folded: a dotless i never reads as I.
  EXPECT_FALSE(EqualsAsciiUpper(L"\x0131tem", L"ITEM"));
  EXPECT_TRUE(StartsWithAsciiUpper(L"encoding=b", L"ENCODING="));
  EXPECT_FALSE(StartsWithAsciiUpper(L"ENC", L"ENCODING="));
}

}  // namespace
}  // namespace kontaktel
