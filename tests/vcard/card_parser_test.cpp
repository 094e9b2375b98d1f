#include "vcard/card_parser.h"

#include <gtest/gtest.h>

#include "support/alloc_counter.h"
#include "support/cards.h"

namespace kontaktel {
namespace {

using Texts = std::vector<std::wstring>;

constexpr auto File = JoinLines;
constexpr auto One = CardOfLines;

Texts ToTexts(const TextList& list) { return Texts(list.begin(), list.end()); }

// Each record as "NAME|rawPrefix|value|flags", flags v (visible) and f (free text).
Texts Records(const Card& card) {
  Texts records;
  for (const CardProperty p : card.properties()) {
    std::wstring record(p.name);
    record.append(L"|").append(p.rawPrefix).append(L"|").append(p.value).append(L"|");
    records.push_back(record + (p.visible ? L"v" : L"") + (p.freeText ? L"f" : L""));
  }
  return records;
}

Texts Values(const RecordRange<TypedRecord>& values) {
  Texts texts;
  for (const TypedValue v : values) {
    std::wstring text(v.value);
    for (const std::wstring_view type : v.types) text.append(L" ").append(type);
    texts.push_back(text);
  }
  return texts;
}

TEST(ParseCards, CardsEndWhereTheirEndLineIsAndTextOutsideIsIgnored) {
  // Leading blanks would fold a line into the one before; the first line has none before it.
  const CardSet cards = ParseCards(File({
      L"  begin:vcard  ", L"FN:First", L"end:VCARD\t", L"FN:between", L"END:VCARD",
      L"BEGIN:VCARD", L"FN:Second", L"END:VCARD", L"FN:after"}));
  ASSERT_EQ(cards.size(), 2u);
  EXPECT_EQ(cards[0].fullName(), L"First");
  EXPECT_EQ(cards[1].fullName(), L"Second");
  EXPECT_EQ(Records(cards[0]), (Texts{L"FN|FN|First|v"}));
}

TEST(ParseCards, EmptyTextsAndTextsWithoutCards) {
  EXPECT_TRUE(ParseCards(L"").empty());
  EXPECT_TRUE(ParseCards(L"\r\n\r\n").empty());
  EXPECT_TRUE(ParseCards(File({L"FN:Nobody", L"BEGIN:VCARDX", L"FN:x", L"END:VCARD"})).empty());
  EXPECT_TRUE(ParseCards(File({L"FN:Nobody", L"BEGIN:VCARD;x", L"FN:x", L"END:VCARD"})).empty());
}

TEST(ParseCards, UnterminatedRepeatedAndNestedCards) {
  const CardSet open = ParseCards(L"BEGIN:VCARD\r\nFN:Open\r\nTEL:1");
  ASSERT_EQ(open.size(), 1u);
  EXPECT_EQ(open[0].fullName(), L"Open");
  EXPECT_EQ(Values(open[0].phones()), (Texts{L"1"}));

  const CardSet repeated = ParseCards(File({L"BEGIN:VCARD", L"FN:Lost", L"TEL:1", L"BEGIN:VCARD",
                                            L"FN:Kept", L"END:VCARD"}));
  ASSERT_EQ(repeated.size(), 1u);
  EXPECT_EQ(repeated[0].fullName(), L"Kept");
  EXPECT_TRUE(repeated[0].phones().empty());

  // A vCard 2.1 AGENT block: the inner card is kept, the outer one's rest ignored.
  const CardSet nested = ParseCards(File({L"BEGIN:VCARD", L"FN:Boss", L"AGENT:", L"BEGIN:VCARD",
                                          L"FN:Assistant", L"END:VCARD", L"TEL:2", L"END:VCARD",
                                          L"BEGIN:VCARD", L"FN:Next", L"END:VCARD"}));
  ASSERT_EQ(nested.size(), 2u);
  EXPECT_EQ(nested[0].fullName(), L"Assistant");
  EXPECT_TRUE(nested[0].phones().empty());
  EXPECT_EQ(nested[1].fullName(), L"Next");
}

TEST(ParseCards, NameComponentsAreDecodedOneByOne) {
  const TestCard card = One({L"N:Doe;John;;Dr.;"});
  EXPECT_EQ(card.familyName(), L"Doe");
  EXPECT_EQ(card.givenName(), L"John");

  // The components are cut before unescaping, so an escaped ";" cuts as well.
  const TestCard escaped = One({L"N:O\\;Brien; Ann ;;", L"N:Roe"});
  EXPECT_EQ(escaped.familyName(), L"Roe");
  EXPECT_EQ(escaped.givenName(), L"Brien");
  EXPECT_EQ(Records(escaped), (Texts{L"N|N|O\\ Brien Ann|v", L"N|N|Roe|v"}));

  const TestCard quoted = One({L"N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=D0=9F=D0=B5=D1=82=D1=80=D0=BE=D0=B2;=D0=98=D0=B2=D0=B0=D0=BD;;;"});
  EXPECT_EQ(quoted.familyName(), L"\x041F\x0435\x0442\x0440\x043E\x0432");
  EXPECT_EQ(quoted.givenName(), L"\x0418\x0432\x0430\x043D");
  EXPECT_EQ(One({L"N:;;;;"}).properties().size(), 0u);
}

TEST(ParseCards, FieldsThatEveryLineOverwrites) {
  const TestCard card = One({L"FN:First", L"TITLE:Boss", L"BDAY:1980-01-02", L"KIND:individual",
                         L"GENDER:M", L"FN:", L"KIND:org"});
  EXPECT_EQ(card.fullName(), L"");
  EXPECT_EQ(card.title(), L"Boss");
  EXPECT_EQ(card.birthday(), L"1980-01-02");
  EXPECT_EQ(card.kind(), L"org");
  EXPECT_EQ(card.gender(), L"M");
  EXPECT_EQ(Records(card), (Texts{L"FN|FN|First|v", L"TITLE|TITLE|Boss|v", L"BDAY|BDAY|1980-01-02|v",
                                  L"KIND|KIND|individual|v", L"GENDER|GENDER|M|v", L"KIND|KIND|org|v"}));
}

TEST(ParseCards, OrganisationAndAddressAreReformatted) {
  EXPECT_EQ(One({L"ORG:Acme;Sales"}).organization(), L"Acme, Sales");
  EXPECT_EQ(One({L"ORG:;"}).organization(), L";");
  EXPECT_EQ(One({L"ORG:Smith\\; Sons;  ;Dept "}).organization(), L"Smith, Sons, Dept");
  const TestCard card = One({L"ADR;TYPE=home:;;Main St 1;Springfield;;12345;Country", L"ADR:;;;", L"ADR:a\\nb;c"});
  EXPECT_EQ(ToTexts(card.addresses()), (Texts{L"Main St 1, Springfield, 12345, Country", L"a\nb, c"}));
}

TEST(ParseCards, ListsKeepEveryNonEmptyValueInOrder) {
  const TestCard card = One({L"URL:", L"URL:https://a.example", L"URL:https://b.example", L"LANG:ru",
                         L"LANG:en", L"MEMBER:urn:uuid:1", L"MEMBER:", L"NOTE:", L"NOTE:one",
                         L"NOTE:two\\nlines"});
  EXPECT_EQ(card.url(), L"https://a.example");
  EXPECT_EQ(ToTexts(card.urls()), (Texts{L"https://a.example", L"https://b.example"}));
  EXPECT_EQ(card.language(), L"ru");
  EXPECT_EQ(ToTexts(card.languages()), (Texts{L"ru", L"en"}));
  EXPECT_EQ(ToTexts(card.members()), (Texts{L"urn:uuid:1"}));
  EXPECT_EQ(card.note(), L"one");
  EXPECT_EQ(ToTexts(card.notes()), (Texts{L"one", L"two\nlines"}));
  EXPECT_EQ(Records(card),
            (Texts{L"URL|URL|https://a.example|v", L"URL|URL|https://b.example|v", L"LANG|LANG|ru|v",
                   L"LANG|LANG|en|v", L"MEMBER|MEMBER|urn:uuid:1|v", L"NOTE|NOTE||vf",
                   L"NOTE|NOTE|one|vf", L"NOTE|NOTE|two\nlines|vf"}));
}

TEST(ParseCards, PhonesAndEmailsWithTheirTypes) {
  const TestCard card = One({L"TEL;TYPE=\"cell,voice\";type=pref:+7 916 000", L"TEL;HOME:", L"TEL;CELL;HOME:2",
                         L"TEL:2", L"item1.EMAIL;type=INTERNET;type=WORK:a@b.example",
                         L"EMAIL;INTERNET:c@d.example", L"EMAIL:"});
  EXPECT_EQ(Values(card.phones()), (Texts{L"+7 916 000 CELL VOICE PREF", L"2 CELL HOME", L"2"}));
  EXPECT_EQ(Values(card.emails()), (Texts{L"a@b.example INTERNET WORK", L"c@d.example"}));
  EXPECT_EQ(card.properties().size(), 5u);
}

TEST(ParseCards, GenderFromXGenderOnlyWhileEmpty) {
  EXPECT_EQ(One({L"X-GENDER:Male", L"GENDER:F"}).gender(), L"F");
  const TestCard card = One({L"GENDER:F", L"X-GENDER:Male"});
  EXPECT_EQ(card.gender(), L"F");
  EXPECT_EQ(Records(card), (Texts{L"GENDER|GENDER|F|v", L"X-GENDER|X-GENDER|Male|v"}));
}

TEST(ParseCards, HiddenNamesAndLabels) {
  const TestCard card = One({L"UID:1", L"PRODID:-//x", L"X-ABUID:2", L"X-ABShowAs:COMPANY", L"CLIENTPIDMAP:1;urn:x",
                         L"X-ADDRESSING-GRAMMAR:x", L"X-IMAGETYPE:JPEG", L"X-IMAGEHASH:h",
                         L"X-SHARED-PHOTO-DISPLAY-PREF:x", L"item1.X-ABLabel:", L"item2.X-ABLabel:_$!<Other>!$_",
                         L"item2.X-ABDATE:2020-01-01", L"X-CUSTOM;x-param=1:a\\,b=="});
  EXPECT_EQ(Records(card), (Texts{L"X-ABLABEL|item1.X-ABLabel||", L"X-ABLABEL|item2.X-ABLabel|_$!<Other>!$_|",
                                  L"X-ABDATE|item2.X-ABDATE|2020-01-01|v", L"X-CUSTOM|X-CUSTOM;x-param=1|a,b|v"}));
}

TEST(ParseCards, QuotedPrintableValuesTakeInTheirContinuationLines) {
  const TestCard card = One({L"NOTE;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=D0=9F=D1=80=D0=B8=",
                         L"=D0=B2=D0=B5=D1=82=0D=0A=", L"second", L"TEL;CELL:1"});
  EXPECT_EQ(card.note(), L"\x041F\x0440\x0438\x0432\x0435\x0442\r\nsecond");
  EXPECT_EQ(Values(card.phones()), (Texts{L"1 CELL"}));
}

TEST(ParseCards, EmbeddedPhotos) {
  // "R0lGODlh" is the start of a GIF: 6 bytes.
  EXPECT_EQ(One({L"PHOTO;ENCODING=b;TYPE=GIF:R0lG", L" ODlh"}).photoData(), (std::vector<uint8_t>{'G', 'I', 'F', '8', '9', 'a'}));
  EXPECT_EQ(One({L"PHOTO;ENCODING=BASE64;TYPE=GIF:R0lG", L"ODlh", L"", L"TEL:1"}).photoData().size(), 6u);
  EXPECT_EQ(One({L"PHOTO:R0lGODlh"}).photoData().size(), 6u);
  // vCard 4.0 data URIs: the header is not part of the Base64 data.
  EXPECT_EQ(One({L"PHOTO:data:image/gif;base64,R0lGODlh"}).photoData().size(), 6u);
  EXPECT_EQ(One({L"PHOTO:DATA:image/gif;BASE64,R0lGODlh"}).photoData().at(0), 'G');
  // A later valid photo replaces an earlier one; an empty one does not.
  const TestCard card = One({L"PHOTO;BASE64:R0lGODlh", L"PHOTO;BASE64:iVBO", L"PHOTO;BASE64:!!!"});
  EXPECT_EQ(card.photoData(), (std::vector<uint8_t>{0x89, 'P', 'N'}));
  EXPECT_EQ(Records(card), (Texts{L"PHOTO|PHOTO;BASE64||", L"PHOTO|PHOTO;BASE64||", L"PHOTO|PHOTO;BASE64||"}));
  EXPECT_FALSE(One({L"PHOTO;BASE64:"}).hasPhotoData());
}

TEST(ParseCards, PhotosByAddress) {
  EXPECT_EQ(One({L"PHOTO;VALUE=URL;TYPE=JPEG:https://x.example/a\\,b.jpg"}).photoUrl(), L"https://x.example/a,b.jpg");
  EXPECT_EQ(One({L"PHOTO:http://x.example/a\\,b.jpg"}).photoUrl(), L"http://x.example/a\\,b.jpg");
  const TestCard base64 = One({L"PHOTO;ENCODING=BASE64:https://x.example/a.jpg"});
  EXPECT_EQ(base64.photoUrl(), L"");
  EXPECT_TRUE(base64.hasPhotoData());
  const TestCard both = One({L"PHOTO;VALUE=URL:https://x.example/1.jpg", L"PHOTO;BASE64:R0lGODlh",
                         L"PHOTO:https://x.example/2.jpg"});
  EXPECT_EQ(both.photoUrl(), L"https://x.example/2.jpg");
  EXPECT_EQ(both.photoData().size(), 6u);
}

TEST(ParseCards, OversizedPhotoIsDropped) {
  std::wstring data(11184812, L'A');
  CardSet cards = ParseCards(L"BEGIN:VCARD\r\nPHOTO;BASE64:" + data + L"\r\nEND:VCARD\r\n");
  ASSERT_EQ(cards.size(), 1u);
  EXPECT_FALSE(cards[0].hasPhotoData());
}

TEST(ParseCards, AndroidCustomFields) {
  const TestCard card = One({L"X-ANDROID-CUSTOM:vnd.android.cursor.item/relation;Anna;14;;",
                         L"X-ANDROID-CUSTOM:", L"X-ANDROID-CUSTOM:key:a\\;b;c"});
  ASSERT_EQ(card.customFields().size(), 3u);
  EXPECT_EQ(card.customFields()[0].key, L"");
  EXPECT_EQ(ToTexts(card.customFields()[0].fields), (Texts{L"vnd.android.cursor.item/relation", L"Anna", L"14", L"", L""}));
  EXPECT_EQ(card.customFields()[1].key, L"");
  EXPECT_EQ(ToTexts(card.customFields()[1].fields), (Texts{L""}));
  EXPECT_EQ(card.customFields()[2].key, L"key");
  // The value was unescaped before the split: the escaped ";" splits too.
  EXPECT_EQ(ToTexts(card.customFields()[2].fields), (Texts{L"a", L"b", L"c"}));
}

TEST(ParseCards, GarbageNeverBreaksTheWalk) {
  const CardSet cards = ParseCards(File({L"BEGIN:VCARD", L"no colon here", L":", L";;;:x", L"\x0000:\x0000",
                                         L"N;ENCODING=QP:=ZZ=", L"=", L"PHOTO;ENCODING=b:", L"END:VCARD"}));
  ASSERT_EQ(cards.size(), 1u);
  EXPECT_EQ(cards[0].familyName(), L"=ZZ");
}

TEST(ParseCards, WorkIsLinearInTheNumberOfCards) {
  std::wstring text;
  for (int i = 0; i < 20000; ++i) {
    text += L"BEGIN:VCARD\r\nVERSION:3.0\r\nN:Doe;John;;;\r\nFN:John Doe\r\nTEL;TYPE=CELL:+1 555 0100\r\n"
            L"EMAIL;TYPE=INTERNET:john@example.com\r\nNOTE:Met at the conference\\, 2024\r\nEND:VCARD\r\n";
  }
  size_t allocated = 0;
  size_t count = 0;
  {
    test::AllocationCounter counter;
    count = ParseCards(text).size();
    allocated = counter.Bytes();
  }
  EXPECT_EQ(count, 20000u);
  EXPECT_LT(allocated, 16 * text.size() * sizeof(wchar_t));
}

}  // namespace
}  // namespace kontaktel
