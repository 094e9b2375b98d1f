#include "present/details.h"

#include <gtest/gtest.h>

#include "support/alloc_counter.h"
#include "support/cards.h"
#include "vcard/card_parser.h"

namespace kontaktel {
namespace {

// The one card of a file made of `lines`.
TestCard Parse(std::initializer_list<std::wstring_view> lines) {
  return FirstCardOf(JoinLines(lines));
}

// A card around `lines`, as most small cases need it.
constexpr auto Body = CardOfLines;

// Base64 of a small JPEG, folded as Apple folds it.
constexpr std::wstring_view kJpegLines[] = {
    L"PHOTO;ENCODING=b;TYPE=JPEG:/9j/4AAQSkZJRgABAQAAAQABAAD/"
    L"2wBDAAgGBgcGBQgHBwcJCQgKDBQNDAsLDBkSEw8U",
    L" HR0aHx4dGhwcICQuJyAiLCMcHCg3KSwwMTQ0NB8nOT04MjwuMzQy/8AACwgAAQABAQERAP/E",
    L" ABQAAQAAAAAAAAAAAAAAAAAAAAn/xAAUEAEAAAAAAAAAAAAAAAAAAAAA/9oACAEBAAA/AFL/2Q==",
};

TestCard AppleCard() {
  return Parse({
      L"BEGIN:VCARD",
      L"VERSION:3.0",
      L"PRODID:-//Apple Inc.//iPhone OS 17.2//EN",
      L"N:Appleseed;Johnny;;;",
      L"FN:Johnny Appleseed",
      L"ORG:Apple Orchards Inc.;Harvest",
      L"TITLE:Chief Picker",
      L"item1.EMAIL;type=INTERNET;type=pref:johnny@example.com",
      L"item1.X-ABLabel:_$!<Other>!$_",
      L"TEL;type=CELL;type=VOICE;type=pref:+1 (408) 555-0100",
      L"TEL;type=IPHONE;type=CELL;type=VOICE:+1 (408) 555-0101",
      L"item2.TEL:+1 (408) 555-0199",
      L"item2.X-ABLabel:Orchard gate",
      L"item3.ADR;type=HOME;type=pref:;;1 Infinite Loop\\nBuilding 2;Cupertino;CA;95014;USA",
      L"item4.URL;type=pref:https://orchards.example/johnny",
      L"item4.X-ABLabel:_$!<HomePage>!$_",
      L"item5.X-ABDATE;type=pref:2010-06-15",
      L"item5.X-ABLabel:_$!<Anniversary>!$_",
      L"item6.X-ABLabel:_$!<Spouse>!$_",
      L"item6.X-ABRELATEDNAMES;type=pref:Jane Appleseed",
      L"X-SOCIALPROFILE;type=twitter;x-user=johnnyq:https://twitter.com/johnnyq",
      L"IMPP;X-SERVICE-TYPE=Skype;type=HOME;type=pref:skype:johnny.appleseed",
      L"BDAY;value=date:1975-03-21",
      L"NOTE:Likes Granny Smith\\, hates Red Delicious.\\nCall before visiting.",
      kJpegLines[0],
      kJpegLines[1],
      kJpegLines[2],
      L"X-ABUID:5AD380FD-B2DE-4261-BA99-DE1D1DB52FBE:ABPerson",
      L"END:VCARD",
  });
}

// The Apple card's text in both languages is the first card of
// tests/data/expected/samples.*.txt; the cards below hold what no sample does.
TestCard AndroidCard() {
  return Parse({
      L"BEGIN:VCARD",
      L"VERSION:2.1",
      L"N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=D0=98=D0=B2=D0=B0=D0=BD=D0=BE=D0=B2;"
      L"=D0=A1=D0=B5=D1=80=D0=B3=D0=B5=D0=B9;;;",
      L"FN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=D0=A1=D0=B5=D1=80=D0=B3=D0=B5=D0=B9=20"
      L"=D0=98=D0=B2=D0=B0=D0=BD=D0=BE=D0=B2",
      L"TEL;CELL:+7 900 123-45-67",
      L"TEL;X-Dacha:+7 495 000-00-00",
      L"EMAIL;HOME:sergey@example.ru",
      L"X-ANDROID-CUSTOM:vnd.android.cursor.item/nickname;Serge;1;;;;;;;;;;;;;",
      L"X-ANDROID-CUSTOM:vnd.android.cursor.item/"
      L"contact_event;2015-05-30;0;Wedding\\;day;;;;;;;;;;;;",
      L"item1.X-ANDROID-CUSTOM:vnd.android.cursor.item/relation;Anna;14;;;;;;;;;;;;;",
      L"item1.X-ABLABEL:_$!<Sister>!$_",
      L"X-ANDROID-CUSTOM:VND.ANDROID.CURSOR.ITEM/website;x",
      L"NOTE;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=D0=9A=D0=BE=D0=B4=20=D0=B4=D0=BE=D0=BC=D0=BE"
      L"=D1=84=D0=BE=D0=BD=D0=B0=2045#=0D=0A=D0=97=D0=B2=D0=BE=D0=BD=D0=B8=D1=82=D1=8C=20=D0=BF=",
      L"=D0=BE=D1=81=D0=BB=D0=B5=2010:00",
      L"PHOTO;ENCODING=BASE64;JPEG:/9j/4AAQSkZJRgABAQAAAQABAAD/"
      L"2wBDAAgGBgcGBQgHBwcJCQgKDBQNDAsLDBkSEw8U",
      L" HR0aHx4dGhwcICQuJyAiLCMcHCg3KSwwMTQ0NB8nOT04MjwuMzQy/8AACwgAAQABAQERAP/E",
      L"",
      L"END:VCARD",
  });
}

TEST(RenderCardDetails, AndroidCardInEnglish) {
  EXPECT_EQ(RenderCardDetails(AndroidCard(), false),
            L"Name\tИванов Сергей\r\n"
            L"Full name\tСергей Иванов\r\n"
            L"Phone (Mobile)\t+7 900 123-45-67\r\n"
            L"Phone (X-Dacha)\t+7 495 000-00-00\r\n"
            L"Email (Home)\tsergey@example.ru\r\n"
            L"Android Custom Event\tnickname;Serge;1;;;;;;;;;;;;;\r\n"
            L"Android Custom Event\tcontact_event;2015-05-30;0;Wedding;day;;;;;;;;;;;;\r\n"
            L"Sister\trelation;Anna;14;;;;;;;;;;;;;\r\n"
            L"Android Custom Event\tVND.ANDROID.CURSOR.ITEM/website;x\r\n"
            L"\r\n"
            L"\x2500\x2500 Note \x2500\x2500\r\n"
            L"Код домофона 45#\r\n"
            L"Звонить после 10:00\r\n"
            L"\r\n");
}

TestCard OutlookCard() {
  return Parse({
      L"BEGIN:VCARD",
      L"VERSION:2.1",
      L"N;LANGUAGE=de;CHARSET=Windows-1252:Müller;Jürgen",
      L"FN;CHARSET=Windows-1252:Jürgen Müller",
      L"ORG;CHARSET=Windows-1252:Bäckerei Müller GmbH;Verkauf",
      L"TITLE:Geschäftsführer",
      L"TEL;WORK;VOICE:+49 89 1234567",
      L"TEL;HOME;FAX:+49 89 7654321",
      L"ADR;WORK;PREF;CHARSET=Windows-1252:;;Königstraße 7;München;;80331;Deutschland",
      L"LABEL;WORK;PREF;ENCODING=QUOTED-PRINTABLE:K=C3=B6nigstra=C3=9Fe 7=0D=0A80331 M=C3=BCnchen",
      L"URL;WORK:http://www.baeckerei-mueller.example/",
      L"EMAIL;PREF;INTERNET:j.mueller@example.de",
      L"X-MS-OL-DEFAULT-POSTAL-ADDRESS:2",
      L"KEY;X509;ENCODING=BASE64:",
      L"    MIICajCCAdOgAwIBAgICBEUwDQYJKoZIhvcNAQEEBQAwXTELMAkGA1UEBhMCREUxEDAOBgNV",
      L"    BAgTB0JheWVybjEPMA0GA1UEBxMGTXVuaWNoMRQwEgYDVQQKEwtFeGFtcGxlIEdtYkgx",
      L"",
      L"REV:20260101T120000Z",
      L"END:VCARD",
  });
}

TEST(RenderCardDetails, OutlookCard) {
  EXPECT_EQ(RenderCardDetails(OutlookCard(), false),
            L"Name\tMüller Jürgen\r\n"
            L"Full name\tJürgen Müller\r\n"
            L"Organization\tBäckerei Müller GmbH, Verkauf\r\n"
            L"Role\tGeschäftsführer\r\n"
            L"Phone (Work, Voice)\t+49 89 1234567\r\n"
            L"Phone (Home, Fax)\t+49 89 7654321\r\n"
            L"Address (Work, Preferred)\tKönigstraße 7, München, 80331, Deutschland\r\n"
            L"LABEL (Work, Preferred)\tKönigstraße 7\r\n80331 München\r\n"
            L"URL (Work)\thttp://www.baeckerei-mueller.example/\r\n"
            L"Email (Preferred, Internet)\tj.mueller@example.de\r\n"
            L"X-MS-OL-DEFAULT-POSTAL-ADDRESS\t2\r\n"
            L"Last modified\t20260101T120000Z\r\n");
}

// 200 characters of Base64, as a public key is carried.
const std::wstring kKeyData =
    L"MIIBIjANBgkqhkiG9w0BAQEFAAOCAQ8AMIIBCgKCAQEAu1SU1LfVLPHCozMxH2Mo4lgOEePzNm0tRgeLezV6ffAt0gunV"
    L"T"
    L"Lw7onLRnrq0/"
    L"IzW7yWR7QkrmBL7jTKEn5u+qKhbwKfBstIs+bMY2Zkp18gnTxKLxoS2tFczGkPLPgizskuemMghRniWaoLcyeh"
    L"kd3qqGElvW/VDL5AaWTg0nLVkjRo9z+40RQzuVaE8AkAFmxZzow3x+VJYKdjykkJ0iT9wCS0DRTXu269V264Vf/"
    L"3jvredZiKRk"
    L"gwlL9xNAwxXFg0x/"
    L"XFw005UWVRIkdgcKWTjpBP2dPwVZ4WWC+9aGVd+Gyn1o0CLelf4rEjGoXbAAEgAqeGUxrcIlbjXfbcmwIDAQAB";

TestCard Version4Card() {
  return Parse({
      L"BEGIN:VCARD",
      L"VERSION:4.0",
      L"KIND:individual",
      L"FN:Dr. Maria Rossi",
      L"N:Rossi;Maria;;Dr.;",
      L"GENDER:F;she/her",
      L"LANG;PREF=1:it",
      L"TEL;VALUE=uri;TYPE=\"voice,cell\";PREF=1:tel:+39-06-555-0123",
      L"EMAIL;TYPE=work:maria.rossi@example.it",
      L"ADR;TYPE=work;LABEL=\"Via Roma 1\\n00100 Roma\":;;Via Roma 1;Roma;;00100;Italia",
      L"URL:https://example.it/~rossi",
      L"BDAY:--0415",
      L"ANNIVERSARY:20090808T1430-0500",
      L"ROLE:Project lead",
      L"CATEGORIES:work,research",
      L"KEY;MEDIATYPE=application/pgp-keys:data:application/pgp-keys;base64," + kKeyData,
      L"KEY;ENCODING=b:" + kKeyData,
      L"UID:urn:uuid:4fbe8971-0bc3-424c-9c26-36c3e1eff6b1",
      L"PHOTO:https://example.it/rossi.jpg",
      L"END:VCARD",
  });
}

TEST(RenderCardDetails, Version4Card) {
  EXPECT_EQ(RenderCardDetails(Version4Card(), false),
            L"Kind\tIndividual\r\n"
            L"Full name\tDr. Maria Rossi\r\n"
            L"Name\tRossi Maria Dr.\r\n"
            L"Gender\tFemale (she/her)\r\n"
            L"Language\tit\r\n"
            L"Phone (Voice, Mobile)\ttel:+39-06-555-0123\r\n"
            L"Email (Work)\tmaria.rossi@example.it\r\n"
            L"Address (Work)\tVia Roma 1, Roma, 00100, Italia\r\n"
            L"URL\thttps://example.it/~rossi\r\n"
            L"Birthday\t--0415\r\n"
            L"Anniversary\t20090808T1430-0500\r\n"
            L"ROLE\tProject lead\r\n"
            L"Categories\twork,research\r\n"
            L"Photo\thttps://example.it/rossi.jpg\r\n");
}

TEST(RenderCardDetails, LeavesOutANameThatReadsAsTheFullName) {
  EXPECT_EQ(RenderCardDetails(Body({L"FN:Jane Doe", L"N:Doe;Jane;;;"}), false),
            L"Full name\tJane Doe\r\nName\tDoe Jane\r\n");
  EXPECT_EQ(RenderCardDetails(Body({L"FN:Jane Doe", L"N:;Jane Doe;;;"}), false),
            L"Full name\tJane Doe\r\n");
  // Without a full name there is nothing to repeat.
  EXPECT_EQ(RenderCardDetails(Body({L"N:;Jane Doe;;;"}), false), L"Name\tJane Doe\r\n");
}

TEST(RenderCardDetails, WritesNotesAsBlocks) {
  struct Case {
    const char* what;
    TestCard card;
    const wchar_t* expected;
  };
  const Case cases[] = {
      {"a note first", Body({L"NOTE:one\\ntwo", L"TEL:1"}),
       L"\x2500\x2500 Note \x2500\x2500\r\none\r\ntwo\r\n\r\nPhone\t1\r\n"},
      {"a note after a line", Body({L"TEL:1", L"NOTE:one"}),
       L"Phone\t1\r\n\r\n\x2500\x2500 Note \x2500\x2500\r\none\r\n\r\n"},
      {"an empty note", Body({L"NOTE:"}), L"\x2500\x2500 Note \x2500\x2500\r\n\r\n\r\n"},
      {"a note that ends with a line break", Body({L"NOTE:one\\n"}),
       L"\x2500\x2500 Note \x2500\x2500\r\none\r\n\r\n"},
      {"two notes", Body({L"NOTE:a", L"NOTE;LANGUAGE=ru:b"}),
       L"\x2500\x2500 Note \x2500\x2500\r\na\r\n\r\n\r\n\x2500\x2500 Note "
       L"\x2500\x2500\r\nb\r\n\r\n"},
      {"a grouped note takes its label", Body({L"item1.NOTE:x", L"item1.X-ABLabel:Kids"}),
       L"\x2500\x2500 Kids \x2500\x2500\r\nx\r\n\r\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(RenderCardDetails(c.card, false), c.expected) << c.what;
}

TEST(NormalizeLineBreaks, MakesEveryBreakOneCrLf) {
  EXPECT_EQ(NormalizeLineBreaks(L""), L"");
  EXPECT_EQ(NormalizeLineBreaks(L"a\nb"), L"a\r\nb");
  EXPECT_EQ(NormalizeLineBreaks(L"a\rb"), L"a\r\nb");
  EXPECT_EQ(NormalizeLineBreaks(L"a\r\nb"), L"a\r\nb");
  EXPECT_EQ(NormalizeLineBreaks(L"a\n\rb"), L"a\r\n\r\nb");
  EXPECT_EQ(NormalizeLineBreaks(L"\r\r\n\n"), L"\r\n\r\n\r\n");
  EXPECT_EQ(NormalizeLineBreaks(L"tab\there\x2028"), L"tab\there\x2028");
}

TEST(RenderCardDetails, ReadsGenderAndKind) {
  struct Case {
    const wchar_t* line;
    bool russian;
    const wchar_t* expected;
  };
  const Case cases[] = {
      {L"GENDER:F", false, L"Gender\tFemale\r\n"},
      {L"GENDER:M;he/him", false, L"Gender\tMale (he/him)\r\n"},
      {L"GENDER:m ; he/him ", true, L"Пол\tМужской (he/him)\r\n"},
      {L"GENDER:O;O", false, L"Gender\tOther (O)\r\n"},
      {L"GENDER:O;Other", false, L"Gender\tOther\r\n"},
      {L"GENDER:N", true, L"Пол\tНе указан\r\n"},
      {L"GENDER:;woman", false, L"Gender\t (woman)\r\n"},
      {L"GENDER:x", false, L"Gender\tX\r\n"},
      {L"X-GENDER:Female", false, L"Gender\tFEMALE\r\n"},
      {L"item1.X-GENDER:f", true, L"Пол\tЖенский\r\n"},
      {L"KIND:organization", true, L"Тип контакта\tОрганизация\r\n"},
      {L"KIND: Location ", false, L"Kind\tLocation\r\n"},
      {L"KIND:Custom", false, L"Kind\tCustom\r\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RenderCardDetails(Body({c.line}), c.russian), c.expected) << c.line;
  }
}

TEST(RenderCardDetails, CaptionsLinesByTheirGroupLabel) {
  struct Case {
    const char* what;
    TestCard card;
    bool russian;
    const wchar_t* expected;
  };
  const Case cases[] = {
      {"a related name", Body({L"item1.X-ABRELATEDNAMES:Jane", L"item1.X-ABLabel:_$!<Mother>!$_"}),
       true, L"Мать\tJane\r\n"},
      {"the label replaces the types too",
       Body({L"item1.TEL;TYPE=CELL:+1 555 0100", L"item1.X-ABLabel:_$!<Mobile>!$_"}), false,
       L"Mobile\t+1 555 0100\r\n"},
      {"a label before its line", Body({L"item4.X-ABLabel:Dacha", L"item4.TEL:1"}), false,
       L"Dacha\t1\r\n"},
      {"the later label wins",
       Body({L"item1.X-ABLabel:First", L"item1.TEL:1", L"item1.X-ABLabel:Second"}), false,
       L"Second\t1\r\n"},
      {"group prefixes are compared exactly",
       Body({L"item1.TEL;TYPE=CELL:1", L"ITEM1.X-ABLABEL:Upper"}), false, L"Phone (Mobile)\t1\r\n"},
      {"a line of an unlabelled group", Body({L"item2.X-CUSTOM:abc"}), false,
       L"item2.X-CUSTOM\tabc\r\n"},
      {"an unknown property of a labelled group",
       Body({L"item2.X-CUSTOM:abc", L"item2.X-ABLabel:Mine"}), false, L"Mine\tabc\r\n"},
      {"X-FCENCODED- over a group label",
       Body({L"item3.X-FCENCODED-UmVsYXRlZA:Tom", L"item3.X-ABLabel:_$!<Friend>!$_"}), true,
       L"Связанное / Пользовательское\tTom\r\n"},
      {"X-FCENCODED- without a group", Body({L"X-FCENCODED-Q3VzdG9t:x"}), false,
       L"Related / Custom\tx\r\n"},
      {"related names without a label keep their types",
       Body({L"X-ABRELATEDNAMES;TYPE=friend:Tom"}), false, L"Related Name (friend)\tTom\r\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(RenderCardDetails(c.card, c.russian), c.expected) << c.what;
}

TEST(RenderCardDetails, KeepsEncodedDataOutButShowsLongText) {
  const std::wstring prose =
      L"Met at the spring fair in Cupertino and promised to call back about the orchard.";
  EXPECT_EQ(RenderCardDetails(Body({L"NOTE:" + prose}), false),
            L"\x2500\x2500 Note \x2500\x2500\r\n" + prose + L"\r\n\r\n");
  EXPECT_EQ(RenderCardDetails(Body({L"ORG:International Business Machines Corporation Research "
                                    L"Laboratory Zurich"}),
                              false),
            L"Organization\tInternational Business Machines Corporation Research Laboratory "
            L"Zurich\r\n");
  EXPECT_EQ(
      RenderCardDetails(Body({L"URL:https://orchards.example/people/johnny-appleseed/profile/2024/"
                              L"photos/album1"}),
                        false),
      L"URL\thttps://orchards.example/people/johnny-appleseed/profile/2024/photos/album1\r\n");
  EXPECT_EQ(RenderCardDetails(Body({L"KEY:" + kKeyData,
                                    L"LOGO;ENCODING=b;TYPE=PNG:iVBORw0KGgoAAAAN"
                                    L"SUhEUgAAABAAAAAQCAIAAACQkWg2AAAAFklEQVR4"
                                    L"nGM4EWVDEmIY1TCqYfhqAACeeF4QkI5G2gAAAABJ"}),
                              false),
            L"");
  // 59 characters of Base64 are too short to be a picture.
  EXPECT_EQ(RenderCardDetails(Body({L"KEY:" + kKeyData.substr(0, 59)}), false),
            L"Key\t" + kKeyData.substr(0, 59) + L"\r\n");
}

TEST(RenderCardDetails, EndsWithThePhotoAddressOnlyWithoutEmbeddedData) {
  EXPECT_EQ(RenderCardDetails(Body({L"PHOTO;VALUE=URL:https://example.com/a.jpg", L"TEL:1"}), true),
            L"Телефон\t1\r\nФото\thttps://example.com/a.jpg\r\n");
  const TestCard both = Body({L"PHOTO;VALUE=URL:https://example.com/a.jpg", L"TEL:1", kJpegLines[0],
                          kJpegLines[1], kJpegLines[2]});
  ASSERT_TRUE(both.hasPhotoData());
  EXPECT_EQ(RenderCardDetails(both, false), L"Phone\t1\r\n");
}

TEST(RenderCardDetails, ShowsValuesAsWritten) {
  EXPECT_EQ(RenderCardDetails(Body({L"BDAY:19750321"}), false), L"Birthday\t19750321\r\n");
  EXPECT_EQ(RenderCardDetails(Body({L"X-ABLabel:alone", L"item9.X-ABLabel:x"}), false), L"");
  EXPECT_EQ(RenderCardDetails(CardOf(L""), true), L"");
}

TEST(RenderCardDetails, BuildsItsTablesOnceAndAllocatesLittlePerCard) {
  const TestCard card = AppleCard();
  const size_t textBytes = RenderCardDetails(card, true).size() * sizeof(wchar_t);
  RenderCardDetails(card, false);
  size_t allocated = 0;
  {
    test::AllocationCounter counter;
    const std::wstring text = RenderCardDetails(card, true);
    allocated = counter.Bytes();
  }
  // The text, the values and captions on their way, one small map; building
  // the caption tables again would take more than this.
  EXPECT_LT(allocated, 5 * textBytes) << "text of " << textBytes << " bytes";
}

}  // namespace
}  // namespace kontaktel
