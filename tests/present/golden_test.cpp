// Every card of the fixtures in tests/data/cards as the dump program writes it
// (every field of the card model, the list's texts and the details text in
// both languages), compared with the golden JSON beside each fixture. With
// KONTAKTEL_BLESS set in the environment, the golden files are written anew.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "card_dump.h"
#include "support/temp_file.h"
#include "text/file_text.h"
#include "vcard/card_parser.h"

namespace kontaktel {
namespace {

class GoldenCards : public ::testing::TestWithParam<const char*> {};

TEST_P(GoldenCards, ReadAsTheGoldenFileSays) {
  const std::string name = std::string("cards/") + GetParam();
  const FileText file = DecodeFileTextAndCodePage(test::ReadFixture(name + ".vcf"));
  const CardSet cards = ParseCards(file.text);
  JsonWriter json;
  WriteCardsJson(json, L"", file.codePage, cards);
  const std::string actual = json.Take();
  if (std::getenv("KONTAKTEL_BLESS") != nullptr) {
    std::ofstream(std::string(KONTAKTEL_TEST_DATA) + "/" + name + ".json", std::ios::binary) << actual;
  }
  EXPECT_EQ(actual, test::ReadFixture(name + ".json"));
}

INSTANTIATE_TEST_SUITE_P(
  Fixtures, GoldenCards,
  ::testing::Values(
    "details", "names", "parser-fields", "parser-structure", "page-chinese-big5",
    "page-chinese-gb2312", "page-czech", "page-german", "page-greek-1253", "page-japanese-euc-jp", "page-korean-euc-kr",
    "page-latin-and-cyrillic-mixed", "page-polish", "page-russian-ibm866", "page-russian-koi8-r",
    "page-shift-jis", "page-short-russian-names", "page-swedish", "page-turkish",
    "page-ukrainian-koi8-u"));

}  // namespace
}  // namespace kontaktel
