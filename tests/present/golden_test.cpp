// Every card of the fixtures in tests/data/cards as a person reads it: the
// list's name, first phone and email, the photo, and the details text in both
// languages, compared with the golden file beside each fixture. With
// KONTAKTEL_BLESS set in the environment, the golden files are written anew.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "present/card_accessors.h"
#include "present/details.h"
#include "present/email.h"
#include "support/temp_file.h"
#include "text/file_text.h"
#include "text/utf8.h"
#include "vcard/card_parser.h"

namespace kontaktel {
namespace {

class GoldenCards : public ::testing::TestWithParam<const char*> {};

TEST_P(GoldenCards, ReadAsTheGoldenFileSays) {
  const std::string name = std::string("cards/") + GetParam();
  const FileText file = DecodeFileTextAndCodePage(test::ReadFixture(name + ".vcf"));
  const CardSet cards = ParseCards(file.text);
  std::wstring out = L"code page " + std::to_wstring(file.codePage) + L"\n";
  for (size_t i = 0; i < cards.size(); ++i) {
    const Card card = cards[i];
    out += L"== " + std::to_wstring(i) + L": " + CardDisplayName(card) + L" | " + FirstPhone(card) +
           L" | " + FirstEmail(card) + L" | " + FallbackEmail(card) + L" | photo " +
           std::to_wstring(card.photoSize()) + L" " + std::wstring(card.photoUrl()) + L"\n" +
           RenderCardDetails(card, false) + L"-- ru\n" + RenderCardDetails(card, true);
  }
  const std::string actual = WideToUtf8(out);
  if (std::getenv("KONTAKTEL_BLESS") != nullptr) {
    std::ofstream(std::string(KONTAKTEL_TEST_DATA) + "/" + name + ".txt", std::ios::binary) << actual;
  }
  EXPECT_EQ(actual, test::ReadFixture(name + ".txt"));
}

INSTANTIATE_TEST_SUITE_P(
  Fixtures, GoldenCards,
  ::testing::Values(
    "details", "names", "page-chinese-big5", "page-chinese-gb2312", "page-czech", "page-german",
    "page-greek-1253", "page-japanese-euc-jp", "page-korean-euc-kr",
    "page-latin-and-cyrillic-mixed", "page-polish", "page-russian-ibm866", "page-russian-koi8-r",
    "page-shift-jis", "page-short-russian-names", "page-swedish", "page-turkish",
    "page-ukrainian-koi8-u"));

}  // namespace
}  // namespace kontaktel
