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
      // Only one of the markers: unchanged.
      {L"_$!<Mother", L"_$!<Mother"},
      {L"Mother>!$_", L"Mother>!$_"},
      {L"_$!<Mother>!$", L"_$!<Mother>!$"},
      // Markers are matched exactly; nothing is trimmed.
      {L" _$!<Mother>!$_", L" _$!<Mother>!$_"},
      {L"_$!< Mother >!$_", L" Mother "},
      {L"_$!<a>!$_b>!$_", L"a>!$_b"},
      {L"_$!<>!$", L"_$!<>!$"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(UnwrapAppleLabel(c.label), c.expected)
        << testing::PrintToString(std::wstring(c.label));
  }
}

TestCard Parse(std::wstring_view body) { return CardOf(body); }

using Map = std::map<std::wstring, std::wstring, std::less<>>;

TEST(BuildGroupLabelMap, LocalisesBuiltInLabelsAndKeepsOthers) {
  struct Case {
    const wchar_t* label;
    const wchar_t* english;
    const wchar_t* russian;
  };
  const Case cases[] = {
      {L"_$!<Mother>!$_", L"Mother", L"Мать"},
      {L"_$!<Child>!$_", L"Child", L"Ребёнок"},
      {L"_$!<Manager>!$_", L"Manager", L"Руководитель"},
      // Unwrapped built-in words are localised as well; the rest stay as written.
      {L"MOTHER", L"Mother", L"Мать"},
      {L"_$!<Partner>!$_", L"Partner", L"Partner"},
      {L"мама", L"мама", L"мама"},
      {L"_$!<>!$_", L"", L""},
  };
  for (const Case& c : cases) {
    const TestCard card = Parse(std::wstring(L"item1.X-ABLabel:") + c.label);
    EXPECT_EQ(BuildGroupLabelMap(card, false), (Map{{L"item1.", c.english}})) << c.label;
    EXPECT_EQ(BuildGroupLabelMap(card, true), (Map{{L"item1.", c.russian}})) << c.label;
  }
}

}  // namespace
}  // namespace kontaktel
