#include "present/card_accessors.h"

#include <gtest/gtest.h>

namespace kontaktel {
namespace {

Card Named(std::wstring fullName, std::wstring givenName, std::wstring familyName) {
  Card card;
  card.fullName = std::move(fullName);
  card.givenName = std::move(givenName);
  card.familyName = std::move(familyName);
  return card;
}

TEST(CardDisplayName, TakesTheFullNameElseGivenAndFamilyName) {
  struct Case {
    Card card;
    const wchar_t* expected;
  };
  const Case cases[] = {
      {Named(L"Jane Doe", L"Janet", L"Roe"), L"Jane Doe"},
      {Named(L"", L"Jane", L"Doe"), L"Jane Doe"},
      {Named(L"", L"Jane", L""), L"Jane"},
      // No blank in front of a family name alone.
      {Named(L"", L"", L"Doe"), L"Doe"},
      {Named(L"", L"", L""), L""},
      // What quoted-printable exporters leave at the end goes.
      {Named(L"Ольга Смирнова=", L"", L""), L"Ольга Смирнова"},
      {Named(L"Jane \t= =", L"", L""), L"Jane"},
      {Named(L"", L"Jane", L"Doe= "), L"Jane Doe"},
      {Named(L"= \t", L"Jane", L"Doe"), L""},
      // Only the end is trimmed.
      {Named(L" =Jane", L"", L""), L" =Jane"},
  };
  for (const Case& c : cases) EXPECT_EQ(CardDisplayName(c.card), c.expected) << c.expected;
}

TEST(FirstPhoneAndEmail, TakeTheFirstNonEmptyValues) {
  Card card;
  EXPECT_EQ(FirstPhone(card), L"");
  EXPECT_EQ(FirstEmail(card), L"");
  card.phones = {{L"+7 916 123-45-67", {L"CELL"}}, {L"+7 495 765-43-21", {}}};
  card.emails = {{L"", {}}, {L"ivan@example.ru", {L"INTERNET"}}, {L"other@example.ru", {}}};
  EXPECT_EQ(FirstPhone(card), L"+7 916 123-45-67");
  EXPECT_EQ(FirstEmail(card), L"ivan@example.ru");
}

}  // namespace
}  // namespace kontaktel
