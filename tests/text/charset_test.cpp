#include "text/charset.h"

#include "text/case_fold.h"
#include "text/iso2022jp.h"

#include <gtest/gtest.h>

namespace kontaktel {
namespace {

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

}  // namespace
}  // namespace kontaktel
