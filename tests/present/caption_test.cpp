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
      {L"item1.EMAIL;type=INTERNET;type=pref", false, L"Email (Internet, Preferred)"},
      {L"TEL;type=IPHONE;type=CELL;type=VOICE", false, L"Phone (Mobile, Mobile, Voice)"},
      {L"TEL;TYPE=HOME;TYPE=HOME", false, L"Phone (Home, Home)"},
      {L"TEL;VALUE=uri;TYPE=\"voice,cell\";PREF=1", false, L"Phone (Voice, Mobile)"},
      {L"TEL;TYPE=\"HOME,WORK\"", true, L"Телефон (Дом, Работа)"},
      {L"ADR;TYPE=work;LABEL=\"Via Roma 1\\n00100 Roma\"", false, L"Address (Work)"},
      {L"X-CUSTOM;TYPE=foo", false, L"X-CUSTOM (foo)"},
      {L"TEL;TYPE=x-mobile2", true, L"Телефон (x-mobile2)"},
      {L"tel; type = cell , fax ", false, L"Phone (Mobile, Fax)"},
  });
}

TEST(FormatPropertyCaption, ReadsBareTypesOfVersion21) {
  ExpectCaptions({
      {L"TEL;HOME;VOICE", false, L"Phone (Home, Voice)"},
      {L"TEL;CELL;PREF", true, L"Телефон (Мобильный, Предпочт.)"},
      {L"EMAIL;PREF;INTERNET", false, L"Email (Preferred, Internet)"},
      {L"TEL;\"WORK\"", false, L"Phone (Work)"},
      // A bare parameter is not trimmed, so it finds no row.
      {L"TEL; HOME", false, L"Phone ( HOME)"},
      {L"ADR;WORK;PREF;CHARSET=Windows-1252", false, L"Address (Work, Preferred)"},
  });
}

TEST(FormatPropertyCaption, LeavesOutParametersThatAreNotTypes) {
  ExpectCaptions({
      {L"ADR;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE;TYPE=HOME", false, L"Address (Home)"},
      {L"N;LANGUAGE=de;CHARSET=Windows-1252", false, L"Name"},
      {L"LANG;PREF=1", true, L"Язык"},
      {L"BDAY;value=date", false, L"Birthday"},
      {L"X-SOCIALPROFILE;type=twitter;x-user=johnnyq", false, L"Social Profile (Twitter)"},
  });
}

TEST(FormatPropertyCaption, TakesServiceTypesWhole) {
  ExpectCaptions({
      {L"IMPP;X-SERVICE-TYPE=Skype", false, L"IM (Skype)"},
      {L"IMPP;X-SERVICE-TYPE=Skype;type=HOME;type=pref", true, L"IM (Skype, Дом, Предпочт.)"},
      // Neither unquoted nor split: it names one service.
      {L"IMPP;x-service-type=\"Google Talk,Jabber\"", false, L"IM (\"Google Talk,Jabber\")"},
      {L"X-SOCIALPROFILE;X-SERVICE-TYPE= Facebook ", false, L"Social Profile (Facebook)"},
  });
}

TEST(FormatPropertyCaption, ShowsEmptyAndOddSegmentsAsTheyCut) {
  ExpectCaptions({
      {L"", false, L""},
      {L"", true, L""},
      {L"TEL;TYPE=", false, L"Phone"},
      {L"TEL;", false, L"Phone"},
      {L"TEL;;", true, L"Телефон"},
      {L"TEL;TYPE=HOME,,WORK", false, L"Phone (Home, , Work)"},
      {L"TEL;TYPE=HOME,", false, L"Phone (Home)"},
      {L"TEL;TYPE=,HOME", false, L"Phone (, Home)"},
      {L"TEL;TYPE=\"\"", false, L"Phone"},
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
