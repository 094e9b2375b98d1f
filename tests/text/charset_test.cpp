#include "text/charset.h"

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
