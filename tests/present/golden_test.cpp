// Every card of the fixtures in tests/data/cards as the dump program writes it
// (every field of the card model, the list's texts and the details text in
// both languages), compared with the golden JSON beside each fixture. With
// KONTAKTEL_BLESS set in the environment, the golden files are written anew.
// Read in pieces of any size, as the viewer reads a file, the cards are the same.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "card_dump.h"
#include "support/temp_file.h"
#include "text/file_text.h"
#include "vcard/card_load.h"
#include "vcard/card_parser.h"

namespace kontaktel {
namespace {

class GoldenCards : public ::testing::TestWithParam<const char*> {};

TEST_P(GoldenCards, ReadAsTheGoldenFileSays) {
  const std::string name = std::string("cards/") + GetParam();
  const FileText file = DecodeFileTextAndCodePage(test::ReadFixture(name + ".vcf"));
  const CardSet cards = ParseCards(file.text, file.codePage);
  EXPECT_TRUE(cards.SpansInside());
  JsonWriter json;
  WriteCardsJson(json, L"", file.codePage, cards);
  const std::string actual = json.Take();
  if (std::getenv("KONTAKTEL_BLESS") != nullptr) {
    std::ofstream(std::string(KONTAKTEL_TEST_DATA) + "/" + name + ".json", std::ios::binary) << actual;
  }
  EXPECT_EQ(actual, test::ReadFixture(name + ".json"));
}

TEST_P(GoldenCards, ReadInPiecesAsTheGoldenFileSays) {
  const std::string name = std::string("cards/") + GetParam();
  const std::string bytes = test::ReadFixture(name + ".vcf");
  const std::string golden = test::ReadFixture(name + ".json");
  // Pieces that end inside folded lines, quoted-printable soft breaks,
  // photo data and characters, and between every two bytes.
  for (const size_t pieceBytes : {1, 2, 3, 7, 50, 301, 4096}) {
    SCOPED_TRACE(pieceBytes);
    std::unique_ptr<CardLoad> load = CardLoad::OpenBytes(bytes, pieceBytes);
    ASSERT_NE(load, nullptr);
    CardSet cards;
    while (!load->Done()) {
      CardLoad::Batch batch = load->Step(3);
      if (batch.replaces) cards = CardSet{};
      cards.Append(std::move(batch.cards));
    }
    EXPECT_FALSE(load->Failed());
    EXPECT_TRUE(cards.SpansInside());
    JsonWriter json;
    WriteCardsJson(json, L"", load->TakeBytes().codePage, cards);
    EXPECT_EQ(json.Take(), golden);
  }
}

INSTANTIATE_TEST_SUITE_P(
  Fixtures, GoldenCards,
  ::testing::Values(
    "details", "names", "parser-fields", "parser-structure", "page-chinese-big5",
    "page-chinese-gb2312", "page-czech", "page-german", "page-greek-1253", "page-japanese-euc-jp", "page-korean-euc-kr",
    "page-latin-and-cyrillic-mixed", "page-polish", "page-russian-ibm866", "page-russian-koi8-r",
    "page-shift-jis", "page-short-russian-names", "page-swedish", "page-turkish",
    "page-ukrainian-koi8-u", "readings-qp-latin", "readings-qp-ascii-latin",
    "readings-qp-ascii-koi8", "readings-interrupted"));

}  // namespace
}  // namespace kontaktel
