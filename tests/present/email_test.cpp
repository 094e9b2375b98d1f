#include "present/email.h"

#include <gtest/gtest.h>


namespace kontaktel {
namespace {

TEST(ExtractEmailAddress, TakesTheRunsAroundTheFirstAt) {
  struct Case {
    const wchar_t* text;
    const wchar_t* expected;
  };
  const Case cases[] = {
      {L"", L""},
      {L"no address here", L""},
      {L"Write to anna.mueller+vcf@mail-1.example.de, not to the office.",
       L"anna.mueller+vcf@mail-1.example.de"},
      // Nothing is validated: the full stop of a sentence stays attached.
      {L"Her address is anna@example.de.", L"anna@example.de."},
      {L"Anna Müller <anna@example.de>", L"anna@example.de"},
      {L"mailto:ivan@example.ru?subject=Hi", L"ivan@example.ru"},
      {L"\"ivan\"@example.ru", L""},
      // Letters of any script are address characters.
      {L"почта: иван@пример.рф", L"иван@пример.рф"},
      {L"user_1@例え.jp", L"user_1@例え.jp"},
      // Only the first "@" is tried.
      {L"call me @ home or mail ivan@example.ru", L""},
      {L"ivan@", L""},
      {L"a@b@c", L"a@b"},
      {L"x @y", L""},
      {L"tab\tivan@example.ru\tend", L"ivan@example.ru"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ExtractEmailAddress(c.text), c.expected)
        << testing::PrintToString(std::wstring(c.text));
  }
}

}  // namespace
}  // namespace kontaktel
