#include "text/charset.h"

#include "text/case_fold.h"
#include "text/iso2022jp.h"

#include <gtest/gtest.h>

namespace kontaktel {
namespace {

TEST(CharsetToCodePage, MapsNamesInAnyAsciiCase) {
  struct Case {
    const wchar_t* name;
    unsigned codePage;
  };
  // The spellings and aliases; the names real exports use are read end to end
  // in code_page_test.cpp and file_text_test.cpp.
  const Case cases[] = {
      {L"utf-8", 65001},       {L"Utf8", 65001},          {L"UTF-16le", 1200},
      {L"win-1251", 1251},     {L"CP1251", 1251},         {L"WIN-1252", 1252},
      {L"cp1250", 1250},       {L"koi8r", 20866},         {L"iso8859-5", 28595},
      {L"latin1", 28591},      {L"ISO8859-2", 28592},     {L"x-sjis", 932},
      {L"MS_Kanji", 932},      {L"Windows-31J", 932},     {L"ks_c_5601-1987", 949},
      {L"ISO-8859-11", 874},   {L"iso8859-16", 28606},    {L"US-ASCII", 20127},
      {L"cp866", 866},
      // Unknown, decorated and empty names read as UTF-8.
      {L"KOI8-R ", 65001},     {L"\"KOI8-R\"", 65001},    {L"", 65001},
      {L"ISO-8859-12", 65001}, {L"windows-1251x", 65001},
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
  EXPECT_TRUE(IsSingleByteCodePage(1253));
  EXPECT_FALSE(IsSingleByteCodePage(932));
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

TEST(BytesToTextWithFallback, QuotedPrintableValuesInTheNewPages) {
  EXPECT_EQ(Convert("\x8ER\x93" "c", CharsetToCodePage(L"SHIFT_JIS")), L"山田");
  EXPECT_EQ(Convert("\xC3\xE9\xFE\xF1\xE3\xEF\xF2", CharsetToCodePage(L"windows-1253")),
            L"Γιώργος");
  EXPECT_EQ(Convert("\xDE\xFCkr\xFC", CharsetToCodePage(L"ISO-8859-9")), L"Şükrü");
  EXPECT_EQ(Convert("\x8A" "a", CharsetToCodePage(L"MACINTOSH")), L"äa");
  // Where Wine lacks the page, the nearest one it has reads the characters.
  EXPECT_EQ(Convert("\xCE\xB0 \xD5\xC5", CharsetToCodePage(L"GB18030")), L"伟 张");
  EXPECT_EQ(Convert("\x1B$BEDCf\x1B(B", CharsetToCodePage(L"ISO-2022-JP")), L"田中");
  EXPECT_EQ(Convert("Sm\xF8rrebr\xF8" "d", CharsetToCodePage(L"ISO-8859-10")), L"Smørrebrød");
}

TEST(Iso2022JpToEucJp, UndoesTheEscapes) {
  EXPECT_EQ(Iso2022JpToEucJp("A\x1B$BEDCf\x1B(B;B"), "A\xC5\xC4\xC3\xE6;B");
  // Half-width katakana by escape and by shift-out; JIS X 0212 with its prefix.
  EXPECT_EQ(Iso2022JpToEucJp("\x1B(I1\x1B(B\x0E" "2\x0F" "x"), "\x8E\xB1\x8E\xB2x");
  EXPECT_EQ(Iso2022JpToEucJp("\x1B$(D0!\x1B(B"), "\x8F\xB0\xA1");
  // A line break inside a two-byte run, an odd byte at the end, an unknown escape.
  EXPECT_EQ(Iso2022JpToEucJp("\x1B$BED\r\nCf!"), "\xC5\xC4\r\n\xC3\xE6!");
  EXPECT_EQ(Iso2022JpToEucJp("\x1B$Z"), "\x1B$Z");
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
