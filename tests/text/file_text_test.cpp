// Reading files: sizes, names and UTF-16; the decoding of bytes is in
// tests/data/tables/file-texts.txt.
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

}  // namespace
}  // namespace kontaktel
