#include "present/card_accessors.h"

#include <gtest/gtest.h>

#include "support/cards.h"

namespace kontaktel {
namespace {

TestCard Named(std::wstring fullName, std::wstring givenName, std::wstring familyName) {
  std::wstring body;
  if (!fullName.empty()) body += L"FN:" + fullName + L"\r\n";
  if (!givenName.empty() || !familyName.empty()) body += L"N:" + familyName + L";" + givenName;
  return CardOf(body);
}

TEST(CardDisplayName, TakesTheFullNameElseGivenAndFamilyName) {
  struct Case {
    TestCard card;
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
      {Named(L"= \\t", L"Jane", L"Doe"), L""},
      // Only the end is trimmed.
      {Named(L" =Jane", L"", L""), L" =Jane"},
  };
  for (const Case& c : cases) EXPECT_EQ(CardDisplayName(c.card), c.expected) << c.expected;
}

TEST(FirstPhoneAndEmail, TakeTheFirstNonEmptyValues) {
  const TestCard empty = CardOf(L"FN:Ivan");
  EXPECT_EQ(FirstPhone(empty), L"");
  EXPECT_EQ(FirstEmail(empty), L"");
  const TestCard card = CardOf(
      L"TEL;TYPE=CELL:+7 916 123-45-67\r\nTEL:+7 495 765-43-21\r\nEMAIL:\r\n"
      L"EMAIL;TYPE=INTERNET:ivan@example.ru\r\nEMAIL:other@example.ru");
  EXPECT_EQ(FirstPhone(card), L"+7 916 123-45-67");
  EXPECT_EQ(FirstEmail(card), L"ivan@example.ru");
}

}  // namespace
}  // namespace kontaktel
