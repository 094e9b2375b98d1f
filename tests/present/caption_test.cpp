#include "present/caption.h"

#include <gtest/gtest.h>

namespace kontaktel {
namespace {

struct Case {
  const wchar_t* rawPrefix;
  bool russian;
  const wchar_t* expected;
};

void ExpectCaptions(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    EXPECT_EQ(FormatPropertyCaption(c.rawPrefix, c.russian), c.expected)
        << "rawPrefix: " << testing::PrintToString(std::wstring(c.rawPrefix))
        << (c.russian ? " (ru)" : " (en)");
  }
}

TEST(FormatPropertyCaption, ReadsTypeListsOfVersion3And4) {
  ExpectCaptions({
      {L"TEL;TYPE=CELL,VOICE;PREF=1", false, L"Phone (Mobile, Voice)"},
      {L"TEL;TYPE=cell;TYPE=pref", true, L"Телефон (Мобильный, Предпочт.)"},
      {L"TEL;TYPE=\"HOME,WORK\"", true, L"Телефон (Дом, Работа)"},
      {L"X-CUSTOM;TYPE=foo", false, L"X-CUSTOM (foo)"},
      {L"TEL;TYPE=x-mobile2", true, L"Телефон (x-mobile2)"},
      {L"tel; type = cell , fax ", false, L"Phone (Mobile, Fax)"},
  });
}

TEST(FormatPropertyCaption, ReadsBareTypesOfVersion21) {
  ExpectCaptions({
      {L"TEL;HOME;VOICE", false, L"Phone (Home, Voice)"},
      {L"TEL;CELL;PREF", true, L"Телефон (Мобильный, Предпочт.)"},
      {L"TEL;\"WORK\"", false, L"Phone (Work)"},
      // A bare parameter is not trimmed, so it finds no row.
      {L"TEL; HOME", false, L"Phone ( HOME)"},
  });
}

TEST(FormatPropertyCaption, LeavesOutParametersThatAreNotTypes) {
  ExpectCaptions({
      {L"ADR;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE;TYPE=HOME", false, L"Address (Home)"},
      {L"LANG;PREF=1", true, L"Язык"},
      // vCard 2.1's bare encoding and value tokens say how, not what.
      {L"TEL;QUOTED-PRINTABLE;WORK;VOICE", false, L"Phone (Work, Voice)"},
      {L"NOTE;qp;Base64;8bit;7BIT;inline;URL;cid;Content-ID;b;\"B\"", true, L"Заметка"},
  });
}

TEST(FormatPropertyCaption, TakesServiceTypesWhole) {
  ExpectCaptions({
      {L"IMPP;X-SERVICE-TYPE=Skype", false, L"IM (Skype)"},
      // Neither unquoted nor split: it names one service.
      {L"IMPP;x-service-type=\"Google Talk,Jabber\"", false, L"IM (\"Google Talk,Jabber\")"},
      {L"X-SOCIALPROFILE;X-SERVICE-TYPE= Facebook ", false, L"Social Profile (Facebook)"},
  });
}

TEST(FormatPropertyCaption, ShowsEmptyAndOddSegmentsAsTheyCut) {
  ExpectCaptions({
      {L"", false, L""},
      {L"TEL;TYPE=", false, L"Phone"},
      {L"TEL;;", true, L"Телефон"},
      {L"TEL;TYPE=HOME,,WORK", false, L"Phone (Home, , Work)"},
      {L"TEL;TYPE=,HOME", false, L"Phone (, Home)"},
      {L";TYPE=HOME", false, L" (Home)"},
      // A lone equals sign has the empty key, which is not TYPE.
      {L"TEL;=HOME", false, L"Phone"},
      // Quotes do not protect a semicolon.
      {L"TEL;TYPE=\"HOME;WORK\"", false, L"Phone (\"HOME, WORK\")"},
      {L"item2.X-CUSTOM;TYPE=a", false, L"item2.X-CUSTOM (a)"},
      {L" item1.TEL ;TYPE=WORK", true, L"Телефон (Работа)"},
  });
}

}  // namespace
}  // namespace kontaktel
