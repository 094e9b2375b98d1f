#include "present/labels.h"

#include <gtest/gtest.h>

namespace kontaktel {
namespace {

struct Row {
  const wchar_t* key;
  const wchar_t* english;
  const wchar_t* russian;
};

// A sample of the captions, one of each kind: single and compound words, the
// names whose English caption differs from the property (TITLE is "Role"),
// and the long Apple, Android and phonetic ones. The tables themselves are the
// code; these rows catch a lookup that returns the wrong row or language.
const Row kFieldCaptions[] = {
    {L"N", L"Name", L"Имя"},
    {L"TITLE", L"Role", L"Должность"},
    {L"TEL", L"Phone", L"Телефон"},
    {L"KIND", L"Kind", L"Тип контакта"},
    {L"X-ABRELATEDNAMES", L"Related Name", L"Связанное имя"},
    {L"X-ANDROID-CUSTOM", L"Android Custom Event", L"Пользовательское событие Android"},
    {L"X-PHONETIC-ORG", L"Phonetic Organization Name", L"Фонетическое название организации"},
};

const Row kTypeCaptions[] = {
    {L"HOME", L"Home", L"Дом"},
    {L"CELL", L"Mobile", L"Мобильный"},
};

std::wstring Lower(std::wstring text) {
  for (wchar_t& c : text) {
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c + (L'a' - L'A'));
  }
  return text;
}

TEST(FieldLabel, GivesTheCaptionInBothLanguages) {
  for (const Row& row : kFieldCaptions) {
    EXPECT_EQ(FieldLabel(row.key, false), row.english) << row.key;
    EXPECT_EQ(FieldLabel(row.key, true), row.russian) << row.key;
    // Files write names in any case and inside item groups.
    EXPECT_EQ(FieldLabel(Lower(row.key), false), row.english) << row.key;
    EXPECT_EQ(FieldLabel(std::wstring(L"item7.") + row.key, true), row.russian) << row.key;
  }
}

TEST(FieldLabel, ReturnsUnknownNamesExactlyAsPassed) {
  struct Case {
    const wchar_t* name;
    bool russian;
    const wchar_t* expected;
  };
  const Case cases[] = {
      {L"item1.tel", true, L"Телефон"},
      {L"ITEM1.Email", false, L"Email"},
      // Only the first dot ends a group: B.TEL has no row.
      {L"a.b.TEL", false, L"a.b.TEL"},
      {L"ROLE", false, L"ROLE"},
      {L"X-GENDER", true, L"Пол"},
      {L"", false, L""},
      {L"x-custom", false, L"x-custom"},
      // A dot at the end leaves nothing to look up.
      {L"item1.", false, L"item1."},
      // Cyrillic is never upper-cased into a match.
      {L"тел", false, L"тел"},
      {L" TEL", false, L" TEL"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FieldLabel(c.name, c.russian), c.expected) << c.name;
  }
}

TEST(TypeLabel, GivesTheCaptionInBothLanguages) {
  for (const Row& row : kTypeCaptions) {
    EXPECT_EQ(TypeLabel(row.key, false), row.english) << row.key;
    EXPECT_EQ(TypeLabel(row.key, true), row.russian) << row.key;
    EXPECT_EQ(TypeLabel(Lower(row.key), true), row.russian) << row.key;
  }
}

TEST(TypeLabel, AppliesAliasesAndKeepsUnknownValues) {
  struct Case {
    const wchar_t* type;
    bool russian;
    const wchar_t* expected;
  };
  const Case cases[] = {
      {L"iphone", false, L"Mobile"},
      {L"IPHONE", true, L"Мобильный"},
      {L"msg", true, L"Текст"},
      {L"vnd.android.cursor.item/contact_event", false, L"Contact event (Android)"},
      // Trimming is the caller's job.
      {L"Home ", false, L"Home "},
      {L"", false, L""},
      // A group prefix is not stripped from a type.
      {L"item1.HOME", false, L"item1.HOME"},
      {L"voice,cell", false, L"voice,cell"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TypeLabel(c.type, c.russian), c.expected) << c.type;
  }
}

}  // namespace
}  // namespace kontaktel
