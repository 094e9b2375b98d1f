#include "text/charset.h"

#include "text/case_fold.h"

#include <gtest/gtest.h>

namespace kontaktel {
namespace {

TEST(CharsetToCodePage, MapsEveryTableNameInAnyAsciiCase) {
  struct Case {
    const wchar_t* name;
    unsigned codePage;
  };
  const Case cases[] = {
      {L"UTF-8", 65001},        {L"utf-8", 65001},       {L"Utf8", 65001},
      {L"UTF-16", 1200},        {L"utf16", 1200},        {L"UTF-16le", 1200},
      {L"windows-1251", 1251},  {L"CP1251", 1251},       {L"win-1251", 1251},
      {L"Windows-1252", 1252},  {L"cp1252", 1252},       {L"WIN-1252", 1252},
      {L"WINDOWS-1250", 1250},  {L"cp1250", 1250},       {L"Win-1250", 1250},
      {L"KOI8-R", 20866},       {L"koi8r", 20866},       {L"ISO-8859-5", 28595},
      {L"iso8859-5", 28595},    {L"ISO-8859-1", 28591},  {L"iso8859-1", 28591},
      {L"latin1", 28591},       {L"ISO-8859-2", 28592},  {L"ISO8859-2", 28592},
      // Unknown, decorated and empty names read as UTF-8.
      {L"KOI8-R ", 65001},      {L"\"KOI8-R\"", 65001},  {L"", 65001},
      {L"US-ASCII", 65001},     {L"windows-1251x", 65001},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CharsetToCodePage(c.name), c.codePage) << c.name;
  }
}

TEST(FindCharsetCodePage, TellsUnknownNamesApart) {
  EXPECT_EQ(FindCharsetCodePage(L"UTF-8"), 65001u);
  EXPECT_EQ(FindCharsetCodePage(L"x-unknown"), std::nullopt);
  EXPECT_EQ(FindCharsetCodePage(L""), std::nullopt);
  EXPECT_TRUE(IsSingleByteCodePage(20866));
  EXPECT_FALSE(IsSingleByteCodePage(65001));
  EXPECT_FALSE(IsSingleByteCodePage(1200));
}

}  // namespace
}  // namespace kontaktel

namespace kontaktel {
namespace {

std::wstring Convert(std::string_view bytes, unsigned codePage) {
  return BytesToTextWithFallback(std::vector<uint8_t>(bytes.begin(), bytes.end()), codePage);
}

TEST(BytesToTextWithFallback, NamedPageThenUtf8ThenWindows1251) {
  EXPECT_EQ(Convert("\xC3\xA9", 65001), L"\x00E9");
  EXPECT_EQ(Convert("\xE9", 28591), L"\x00E9");
  EXPECT_EQ(Convert("\xE9", 65001), L"\x0439");           // not UTF-8: Windows-1251
  EXPECT_EQ(Convert("\xC3\xA9", 1251), L"\x0413\x00A9");  // the named page wins
  EXPECT_EQ(Convert("\xE9\xD7\xC1\xCE", 20866), L"\x0418\x0432\x0430\x043D");
  EXPECT_EQ(Convert("\xC3\xA9", 1200), L"\x00E9");        // UTF-16 names fall back
  EXPECT_EQ(Convert("\xE9", 1200), L"\x0439");
  EXPECT_EQ(Convert("", 65001), L"");
  EXPECT_EQ(Convert("", 1251), L"");
}

TEST(LowerForMatch, FoldsLatinAndCyrillicAndEndsAtNul) {
  EXPECT_EQ(LowerForMatch(L"\x00C4" L"BC"), L"\x00E4" L"bc");
  EXPECT_EQ(LowerForMatch(L"\x0418\x0412\x0410\x041D \x0401\x0416"), L"\x0438\x0432\x0430\x043D \x0451\x0436");
  EXPECT_EQ(LowerForMatch(L"M\x00DCLLER"), L"m\x00FCller");
  EXPECT_EQ(LowerForMatch(std::wstring(L"AB\0CD", 5)), L"ab");
  EXPECT_EQ(LowerForMatch(std::wstring(L"\0CD", 3)), L"");
  EXPECT_EQ(LowerForMatch(L""), L"");
}

}  // namespace
}  // namespace kontaktel
