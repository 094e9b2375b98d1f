#include "text/file_text.h"

#include <gtest/gtest.h>

#include "support/temp_file.h"

namespace kontaktel {
namespace {

using test::TempFile;
using namespace std::string_literals;

std::wstring Load(const std::string& bytes) {
  TempFile file(bytes);
  return LoadFileText(file.Path().c_str());
}

// Text as UTF-16 bytes in the given order.
std::string Utf16Bytes(std::wstring_view text, bool bigEndian) {
  std::string bytes;
  for (wchar_t c : text) {
    const char low = static_cast<char>(c & 0xFF), high = static_cast<char>((c >> 8) & 0xFF);
    bytes += bigEndian ? std::string{high, low} : std::string{low, high};
  }
  return bytes;
}

TEST(LoadFileText, ShortAndEmptyFilesGiveNothing) {
  EXPECT_EQ(Load(""), L"");
  EXPECT_EQ(Load("\xFF\xFE"), L"");
  EXPECT_EQ(Load("\xFF\xFE\x41"), L"");
  EXPECT_EQ(Load("\xEF\xBB\xBF"), L"");
}

TEST(LoadFileText, MissingFileOrNoNameGivesNothing) {
  EXPECT_EQ(LoadFileText(L"Z:\\no\\such\\folder\\contacts.vcf"), L"");
  EXPECT_EQ(LoadFileText(L"/no/such/folder/contacts.vcf"), L"");
  EXPECT_EQ(LoadFileText(nullptr), L"");
}

TEST(LoadFileText, Utf16LittleEndianMarkKeepsUnitsAsTheyStand) {
  const std::wstring text(L"BEGIN:VCARD\r\nFN:\x0418\x0432\x0430\x043D\0X\r\n", 24);
  EXPECT_EQ(Load("\xFF\xFE" + Utf16Bytes(text, false)), text);
  // An odd length drops the last byte.
  EXPECT_EQ(Load("\xFF\xFE" + Utf16Bytes(L"FN:A", false) + "\x42"), L"FN:A");
}

TEST(LoadFileText, Utf16BigEndianMarkIsDecoded) {
  const std::wstring text = L"BEGIN:VCARD\r\nFN:M\x00FCller \x0418\x0432\x0430\x043D\r\nEND:VCARD\r\n";
  EXPECT_EQ(Load("\xFE\xFF" + Utf16Bytes(text, true)), text);
  EXPECT_EQ(Load("\xFE\xFF" + Utf16Bytes(L"FN:A", true) + "\x00"s), L"FN:A");
}

TEST(LoadFileText, Utf16WithoutMarkIsRecognisedByBegin) {
  const std::wstring text = L"\r\n  begin:VCARD\r\nFN:\x0418\x0432\x0430\x043D\r\nEND:VCARD\r\n";
  EXPECT_EQ(Load(Utf16Bytes(text, false)), text);
  EXPECT_EQ(Load(Utf16Bytes(text, true)), text);
}

TEST(LoadFileText, Utf16WithoutMarkOrBeginStaysUtf8) {
  // Valid UTF-8 after all: a NUL after every character.
  EXPECT_EQ(Load(Utf16Bytes(L"FN:Ann", false)), std::wstring(L"F\0N\0:\0A\0n\0n\0", 12));
}

TEST(LoadFileText, Utf8MarkIsDroppedAndMustBeFollowedByValidUtf8) {
  EXPECT_EQ(Load("\xEF\xBB\xBF" "FN:M\xC3\xBCller\r\n"), L"FN:M\x00FCller\r\n");
  EXPECT_EQ(Load("\xEF\xBB\xBF" "FN:M\xFCller\r\n"), L"");
}

TEST(LoadFileText, Utf8WithoutMark) {
  EXPECT_EQ(Load("FN:\xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD\n"), L"FN:\x0418\x0432\x0430\x043D\n");
  EXPECT_EQ(Load("FN:A\0B"s), std::wstring(L"FN:A\0B", 6));
}

TEST(LoadFileText, InvalidUtf8WithoutCharsetIsWindows1251) {
  // One Latin-1 byte turns the whole file into Windows-1251 text.
  EXPECT_EQ(Load("FN:\xC8\xE2\xE0\xED \xD0\x9F\n"), L"FN:\x0418\x0432\x0430\x043D \x0420\x045F\n");
  EXPECT_EQ(Load("FN:Caf\xE9"), L"FN:Caf\x0439");
}

TEST(LoadFileText, InvalidUtf8IsReadInTheCharsetTheFileNames) {
  struct Case {
    const char* name;
    std::string bytes;
    std::wstring text;
  };
  const Case cases[] = {
      {"quoted lower-case name", "FN;charset=\"cp1252\":Fran\xE7ois\n",
       L"FN;charset=\"cp1252\":Fran\x00E7ois\n"},
      {"KOI8-R", "FN;CHARSET=KOI8-R:\xE9\xD7\xC1\xCE\n",
       L"FN;CHARSET=KOI8-R:\x0418\x0432\x0430\x043D\n"},
      {"ISO-8859-5", "FN;ENCODING=8BIT;CHARSET=ISO-8859-5:\xB8\xD2\xD0\xDD\n",
       L"FN;ENCODING=8BIT;CHARSET=ISO-8859-5:\x0418\x0432\x0430\x043D\n"},
      {"UTF-8 names do not count", "N;CHARSET=UTF-8:A\nFN;CHARSET=windows-1252:M\xFCller\n",
       L"N;CHARSET=UTF-8:A\nFN;CHARSET=windows-1252:M\x00FCller\n"},
      {"unknown names do not count", "N;CHARSET=x-mac:A\nFN;CHARSET=windows-1252:M\xFCller\n",
       L"N;CHARSET=x-mac:A\nFN;CHARSET=windows-1252:M\x00FCller\n"},
      {"two pages disagree: Windows-1251", "N;CHARSET=KOI8-R:A\nFN;CHARSET=windows-1252:M\xFCller\n",
       L"N;CHARSET=KOI8-R:A\nFN;CHARSET=windows-1252:M\x044Cller\n"},
      {"CHARSET outside a parameter: Windows-1251", "NOTE:CHARSET=windows-1252:M\xFCller\n",
       L"NOTE:CHARSET=windows-1252:M\x044Cller\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Load(c.bytes), c.text) << c.name;
  }
}

TEST(LoadFileText, FoldsThatCutAUtf8CharacterInTwoStayUtf8) {
  // "Встреча" folded inside its "т" (D1 82), as byte-counting exporters fold.
  EXPECT_EQ(Load("NOTE:\xD0\x92\xD1\x81\xD1\r\n \x82\xD1\x80\xD0\xB5\xD1\x87\xD0\xB0\r\n"),
            L"NOTE:\x0412\x0441\x0442\x0440\x0435\x0447\x0430\r\n");
  // A four-byte character cut twice, once with a tab and blank lines between.
  std::wstring smile = L"X:";
  if constexpr (sizeof(wchar_t) == 2) {
    smile += static_cast<wchar_t>(0xD83D);
    smile += static_cast<wchar_t>(0xDE00);
  } else {
    smile += static_cast<wchar_t>(0x1F600);
  }
  EXPECT_EQ(Load("X:\xF0\x9F\r\n \x98\n\n\t\x80!"), smile + L"!");
  // A break inside a character without a blank after it is no fold: Windows-1251.
  EXPECT_EQ(Load("FN:\xD1\r\n\x82"), L"FN:\x0421\r\n\x201A");
  // A fold inside a character does not excuse another invalid byte.
  EXPECT_EQ(Load("FN:\xD1\r\n \x82 \xFF"), L"FN:\x0421\r\n \x201A \x044F");
}

TEST(LoadFileText, LineBreaksSurviveUnchanged) {
  EXPECT_EQ(Load("A:1\r\nB:2\nC:3\rD:4\r\n\r\n"), L"A:1\r\nB:2\nC:3\rD:4\r\n\r\n");
}

TEST(LoadFileText, ReadsUpToThirtyTwoMebibytesAndNoMore) {
  std::string bytes(kMaxFileSize, 'A');
  EXPECT_EQ(Load(bytes).size(), kMaxFileSize);
  bytes.push_back('A');
  EXPECT_EQ(Load(bytes), L"");
}

TEST(LoadFileText, OpensNamesOutsideTheAnsiCodePage) {
  TempFile file("FN:Ann\r\n", L"-\x041A\x043E\x043D\x0442\x0430\x043A\x0442\x044B.vcf");
  EXPECT_EQ(LoadFileText(file.Path().c_str()), L"FN:Ann\r\n");
}

TEST(BytesToText, StrictOnlyForUtf8) {
  EXPECT_EQ(BytesToText("\xC3\xA9", 2, 65001, true), L"\x00E9");
  EXPECT_EQ(BytesToText("\xE9", 1, 65001, true), L"");
  EXPECT_EQ(BytesToText("\xE9", 1, 65001, false), L"\xFFFD");
  EXPECT_EQ(BytesToText("\xE9", 1, 1251, true), L"\x0439");
  EXPECT_EQ(BytesToText("\xE9", 1, 28591, false), L"\x00E9");
  EXPECT_EQ(BytesToText("", 0, 1251, false), L"");
  EXPECT_EQ(BytesToText("A", 1, 1200, false), L"");  // the platform refuses UTF-16 here
}

TEST(DecodeFileText, RejectsOverlongAndSurrogateUtf8) {
  // Overlong "/" and an encoded surrogate are not UTF-8: the file is 1251.
  EXPECT_EQ(DecodeFileText("A\xC0\xAF"), L"A\x0410\x0407");
  EXPECT_EQ(DecodeFileText("A\xED\xA0\x80"), L"A\x043D\x00A0\x0402");
}

}  // namespace
}  // namespace kontaktel
