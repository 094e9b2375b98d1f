#include "present/apple_labels.h"

#include <gtest/gtest.h>

#include "support/cards.h"

#include "vcard/card_parser.h"

namespace kontaktel {
namespace {

TEST(UnwrapAppleLabel, TakesTheTextBetweenEitherPairOfMarkers) {
  struct Case {
    const wchar_t* label;
    const wchar_t* expected;
  };
  const Case cases[] = {
      {L"_$!<Mother>!$_", L"Mother"},
      {L"$!<Other>!$", L"Other"},
      {L"_$!<>!$_", L""},
      {L"$!<>!$", L""},
      {L"_$!<HomePage>!$_", L"HomePage"},
      {L"_$!<A>!$_", L"A"},
      // Only the opening or only the closing marker: unchanged.
      {L"_$!<Mother", L"_$!<Mother"},
      {L"Mother>!$_", L"Mother>!$_"},
      {L"$!<Other", L"$!<Other"},
      {L"_$!<Mother>!$", L"_$!<Mother>!$"},
      // Markers are matched exactly; nothing is trimmed.
      {L" _$!<Mother>!$_", L" _$!<Mother>!$_"},
      {L"_$!<Mother>!$_ ", L"_$!<Mother>!$_ "},
      {L"_$!< Mother >!$_", L" Mother "},
      {L"_$!<a>!$_b>!$_", L"a>!$_b"},
      {L"Dacha", L"Dacha"},
      {L"", L""},
      {L"_$!<", L"_$!<"},
      {L">!$_", L">!$_"},
      {L"_$!<>!$", L"_$!<>!$"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(UnwrapAppleLabel(c.label), c.expected)
        << testing::PrintToString(std::wstring(c.label));
  }
}

TEST(GroupPrefix, EndsAtTheFirstDot) {
  EXPECT_EQ(GroupPrefix(L"item1.TEL;type=CELL"), L"item1.");
  EXPECT_EQ(GroupPrefix(L"ITEM2.X.TEL"), L"ITEM2.");
  EXPECT_EQ(GroupPrefix(L".TEL"), L".");
  EXPECT_EQ(GroupPrefix(L"TEL;TYPE=CELL"), L"");
  EXPECT_EQ(GroupPrefix(L""), L"");
}

TestCard Parse(std::wstring_view body) { return CardOf(body); }

using Map = std::map<std::wstring, std::wstring, std::less<>>;

TEST(BuildGroupLabelMap, MapsEachGroupToItsLocalisedLabel) {
  const TestCard card = Parse(
      L"item1.X-ABRELATEDNAMES:Jane\r\n"
      L"item1.X-ABLabel:_$!<Mother>!$_\r\n"
      L"item2.URL:https://example.com/\r\n"
      L"item2.X-ABLabel:_$!<HomePage>!$_\r\n"
      L"item3.X-ABDATE:2010-06-01\r\n"
      L"item3.X-ABLabel:_$!<Anniversary>!$_\r\n"
      L"item4.TEL:+7 495 000-00-00\r\n"
      L"item4.X-ABLabel:Dacha\r\n"
      L"item5.EMAIL:a@example.com\r\n"
      L"item5.X-ABLabel:$!<Other>!$\r\n"
      L"item6.X-ABRELATEDNAMES:Tom\r\n"
      L"item6.X-ABLabel:_$!<child>!$_\r\n");
  EXPECT_EQ(BuildGroupLabelMap(card, false), (Map{{L"item1.", L"Mother"},
                                                  {L"item2.", L"Home page"},
                                                  {L"item3.", L"Anniversary"},
                                                  {L"item4.", L"Dacha"},
                                                  {L"item5.", L"Other"},
                                                  {L"item6.", L"Child"}}));
  EXPECT_EQ(BuildGroupLabelMap(card, true), (Map{{L"item1.", L"Мать"},
                                                 {L"item2.", L"Домашняя страница"},
                                                 {L"item3.", L"Годовщина"},
                                                 {L"item4.", L"Dacha"},
                                                 {L"item5.", L"Other"},
                                                 {L"item6.", L"Ребёнок"}}));
}

TEST(BuildGroupLabelMap, LocalisesEveryBuiltInRelationAndDate) {
  struct Case {
    const wchar_t* label;
    const wchar_t* english;
    const wchar_t* russian;
  };
  const Case cases[] = {
      {L"_$!<HomePage>!$_", L"Home page", L"Домашняя страница"},
      {L"_$!<Anniversary>!$_", L"Anniversary", L"Годовщина"},
      {L"_$!<Mother>!$_", L"Mother", L"Мать"},
      {L"_$!<Father>!$_", L"Father", L"Отец"},
      {L"_$!<Brother>!$_", L"Brother", L"Брат"},
      {L"_$!<Sister>!$_", L"Sister", L"Сестра"},
      {L"_$!<Spouse>!$_", L"Spouse", L"Супруг(а)"},
      {L"_$!<Child>!$_", L"Child", L"Ребёнок"},
      {L"_$!<Friend>!$_", L"Friend", L"Друг"},
      {L"_$!<Manager>!$_", L"Manager", L"Руководитель"},
      // Unwrapped built-in words are localised as well.
      {L"MOTHER", L"Mother", L"Мать"},
      // Other Apple labels and a user's own words stay as written.
      {L"_$!<Partner>!$_", L"Partner", L"Partner"},
      {L"_$!<Assistant>!$_", L"Assistant", L"Assistant"},
      {L"Mobile", L"Mobile", L"Mobile"},
      {L"мама", L"мама", L"мама"},
      {L"_$!<>!$_", L"", L""},
  };
  for (const Case& c : cases) {
    const TestCard card = Parse(std::wstring(L"item1.X-ABLabel:") + c.label);
    EXPECT_EQ(BuildGroupLabelMap(card, false), (Map{{L"item1.", c.english}})) << c.label;
    EXPECT_EQ(BuildGroupLabelMap(card, true), (Map{{L"item1.", c.russian}})) << c.label;
  }
}

TEST(BuildGroupLabelMap, KeysGroupsExactlyAsWrittenAndTheLastLabelWins) {
  const TestCard card = Parse(
      L"ITEM1.X-ABLABEL:Upper\r\n"
      L"item1.X-ABLabel:First\r\n"
      L"item1.X-ABLabel:Second\r\n"
      L"X-ABLabel:No group\r\n"
      L"item2.TEL:1\r\n");
  EXPECT_EQ(BuildGroupLabelMap(card, false), (Map{{L"ITEM1.", L"Upper"}, {L"item1.", L"Second"}}));
}

TEST(BuildGroupLabelMap, IsEmptyForACardWithoutLabels) {
  EXPECT_TRUE(BuildGroupLabelMap(Parse(L""), true).empty());
  EXPECT_TRUE(BuildGroupLabelMap(Parse(L"item1.TEL:1\r\nFN:A\r\n"), false).empty());
}

}  // namespace
}  // namespace kontaktel
