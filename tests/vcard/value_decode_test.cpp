#include "vcard/value_decode.h"

#include <gtest/gtest.h>

namespace kontaktel {
namespace {

using Bytes = std::vector<uint8_t>;
using Texts = std::vector<std::wstring>;

Bytes B(std::string_view s) { return Bytes(s.begin(), s.end()); }

TEST(DecodeValue, PlainValuesOnlyLoseTrailingEquals) {
  EXPECT_EQ(DecodeValue(L"a=b==", false, L""), L"a=b");
  EXPECT_EQ(DecodeValue(L"=C3=A9", false, L"UTF-8"), L"=C3=A9");
  EXPECT_EQ(DecodeValue(L"===", false, L""), L"");
  EXPECT_EQ(DecodeValue(L"x \t", false, L""), L"x \t");
}

TEST(DecodeValue, QuotedPrintableInTheNamedCharset) {
  struct Case {
    const wchar_t* value;
    const wchar_t* charset;
    std::wstring text;
    unsigned unnamedPage = 1251;  // the file's page
  };
  const Case cases[] = {
      {L"=C3=A9", L"UTF-8", L"\x00E9"},
      {L"=C3=A9", L"", L"\x00E9"},
      {L"=C3=A9", L"WINDOWS-1252", L"\x00C3\x00A9"},
      {L"=C8=E2=E0=ED", L"windows-1251", L"\x0418\x0432\x0430\x043D"},
      {L"=E9=D7=C1=CE", L"KOI8-R", L"\x0418\x0432\x0430\x043D"},
      {L"=E9", L"UTF-8", L"\x0439"},          // invalid UTF-8 falls back to Windows-1251
      {L"=D0=98=D0=B2", L"x-unknown", L"\x0418\x0432"},
      {L"a=3D", L"", L"a"},                    // a decoded trailing "=" goes too
      {L"a=20=09=0D=0A", L"", L"a"},
      {L"a=20b", L"", L"a b"},
      {L"=4x=", L"", L"=4x"},                  // not hex: kept literally
      {L"caf\x00E9 =C3=A9", L"UTF-8", L"caf\x00E9 \x00E9"},  // already decoded text survives
      {L"\xD83D\xDE00=21", L"UTF-8", L"\xD83D\xDE00!"},
      // Bytes that are not UTF-8 under no charset or an unknown one: the file's page.
      {L"M=F6=DFlitz", L"", L"M\x00F6\x00DFlitz", 1252},
      {L"=F6", L"x-unknown", L"\x00F6", 1252},
      {L"=C3=A9", L"", L"\x00E9", 1252},
      {L"=F6", L"UTF-8", L"\x0446", 1252},  // a named charset falls back as before
  };
  for (const Case& c : cases) {
    const std::wstring decoded = DecodeValue(c.value, true, c.charset, c.unnamedPage);
    if constexpr (sizeof(wchar_t) == 2) {
      EXPECT_EQ(decoded, c.text) << c.value;
    } else if (std::wstring_view(c.value).find(L'\xD83D') == std::wstring_view::npos) {
      EXPECT_EQ(decoded, c.text) << c.value;  // UTF-32 text has no surrogates
    }
  }
}

TEST(DecodeQuotedPrintable, DecodesHexPairsAndKeepsEverythingElse) {
  EXPECT_EQ(DecodeQuotedPrintable(L"=41=4a=4A"), B("AJJ"));
  EXPECT_EQ(DecodeQuotedPrintable(L"a=\r"), B("a=\r"));
  EXPECT_EQ(DecodeQuotedPrintable(L"a="), B("a"));
  EXPECT_EQ(DecodeQuotedPrintable(L"a=4"), B("a=4"));
  EXPECT_EQ(DecodeQuotedPrintable(L"==41"), B("=A"));
  EXPECT_EQ(DecodeQuotedPrintable(L"=G1"), B("=G1"));
  EXPECT_EQ(DecodeQuotedPrintable(L"\x00E9=41"), B("\xC3\xA9" "A"));
  EXPECT_EQ(DecodeQuotedPrintable(L""), B(""));
}

TEST(UnescapeText, UndoesVcardEscapes) {
  EXPECT_EQ(UnescapeText(L"a\\,b\\;c\\nd"), L"a,b;c\nd");
  EXPECT_EQ(UnescapeText(L"\\N\\t\\T\\:\\\\"), L"\n\t\t:\\");
  EXPECT_EQ(UnescapeText(L"a\\qb"), L"a\\qb");
  EXPECT_EQ(UnescapeText(L"\\\\n"), L"\\n");
  EXPECT_EQ(UnescapeText(L"end\\"), L"end\\");
  EXPECT_EQ(UnescapeText(L"\\\\\\"), L"\\\\");
}

TEST(DecodeBase64, SkipsFillerAndStopsAtTheFirstEquals) {
  EXPECT_EQ(DecodeBase64(L"SGVsbG8="), B("Hello"));
  EXPECT_EQ(DecodeBase64(L" SGV\r\n sb\tG8 =="), B("Hello"));
  EXPECT_EQ(DecodeBase64(L"SGVsbG8=IGlnbm9yZWQ="), B("Hello"));
  EXPECT_EQ(DecodeBase64(L"S\x00E9GVsbG8"), B("Hello"));
  EXPECT_EQ(DecodeBase64(L"SGVs!bG8"), B("Hello"));
  EXPECT_EQ(DecodeBase64(L"SGVsb"), B("Hel"));  // five characters decode as four
  EXPECT_EQ(DecodeBase64(L"+/+/"), B("\xFB\xFF\xBF"));
  EXPECT_EQ(DecodeBase64(L"-_-_"), B(""));      // URL-safe letters are skipped
  EXPECT_EQ(DecodeBase64(L"A"), B(""));
  EXPECT_EQ(DecodeBase64(L""), B(""));
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

TEST(SplitEscaped, SplitsAtUnescapedSemicolons) {
  EXPECT_EQ(SplitEscaped(L""), (Texts{L""}));
  EXPECT_EQ(SplitEscaped(L"a;b\\;c;"), (Texts{L"a", L"b;c", L""}));
  EXPECT_EQ(SplitEscaped(L"\\\\;x\\"), (Texts{L"\\", L"x\\"}));
  EXPECT_EQ(SplitEscaped(L"vnd.android.cursor.item/relation;Anna;14;;"),
            (Texts{L"vnd.android.cursor.item/relation", L"Anna", L"14", L"", L""}));
}

}  // namespace
}  // namespace kontaktel
