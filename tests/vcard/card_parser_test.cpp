// What the golden cards (tests/data/cards/parser-*) cannot show: the bytes of
// embedded photos, texts without cards, and the limit on a photo's size.
#include "vcard/card_parser.h"

#include <gtest/gtest.h>

#include "support/cards.h"

namespace kontaktel {
namespace {

using Bytes = std::vector<uint8_t>;

TEST(ParseCards, TextsWithoutCards) {
  EXPECT_TRUE(ParseCards(L"").empty());
  EXPECT_TRUE(ParseCards(L"\r\n\r\n").empty());
  EXPECT_TRUE(ParseCards(JoinLines({L"FN:Nobody", L"BEGIN:VCARDX", L"FN:x", L"END:VCARD"})).empty());
}

TEST(ParseCards, EmbeddedPhotoBytes) {
  // "R0lGODlh" is the start of a GIF; a vCard 4.0 data URI's header is not Base64 data.
  EXPECT_EQ(CardOfLines({L"PHOTO;ENCODING=b;TYPE=GIF:R0lG", L" ODlh"}).photoData(),
            (Bytes{'G', 'I', 'F', '8', '9', 'a'}));
  EXPECT_EQ(CardOfLines({L"PHOTO:DATA:image/gif;BASE64,R0lGODlh"}).photoData(),
            (Bytes{'G', 'I', 'F', '8', '9', 'a'}));
  // A later valid photo replaces an earlier one; an invalid one does not.
  EXPECT_EQ(CardOfLines({L"PHOTO;BASE64:R0lGODlh", L"PHOTO;BASE64:iVBO", L"PHOTO;BASE64:!!!"})
                .photoData(),
            (Bytes{0x89, 'P', 'N'}));
}

TEST(ParseCards, OversizedPhotoIsDropped) {
  std::wstring data(11184812, L'A');
  CardSet cards = ParseCards(L"BEGIN:VCARD\r\nPHOTO;BASE64:" + data + L"\r\nEND:VCARD\r\n");
  ASSERT_EQ(cards.size(), 1u);
  EXPECT_FALSE(cards[0].hasPhotoData());
}

}  // namespace
}  // namespace kontaktel
