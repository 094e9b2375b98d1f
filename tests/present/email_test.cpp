#include "present/email.h"

#include <gtest/gtest.h>

#include "support/cards.h"

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

TestCard WithUrlAndNotes(std::wstring url, std::vector<std::wstring> notes) {
  std::wstring body;
  if (!url.empty()) body += L"URL:" + url + L"\r\n";
  for (const std::wstring& note : notes) body += L"NOTE:" + note + L"\r\n";
  return CardOf(body);
}

TEST(FallbackEmail, PrefersAMailtoUrlThenTheUrlThenTheNotes) {
  struct Case {
    const char* what;
    TestCard card;
    const wchar_t* expected;
  };
  const Case cases[] = {
      {"nothing", CardOf(L""), L""},
      {"mailto: without query", WithUrlAndNotes(L"mailto:a@b.c", {L"x@y.z"}), L"a@b.c"},
      {"mailto: with only a query wins over the note",
       WithUrlAndNotes(L"mailto:?subject=Hi", {L"write to ivan@example.ru"}), L""},
      {"mailto: with whatever it holds", WithUrlAndNotes(L"Mailto:not an address", {}),
       L"not an address"},
      {"exactly mailto: is no mailto: URL",
       WithUrlAndNotes(L"mailto:", {L"write to ivan@example.ru"}), L"ivan@example.ru"},
      {"an address inside a web address",
       WithUrlAndNotes(L"https://user@example.com/", {L"note@example.ru"}), L"user@example.com"},
      {"a web address without one",
       WithUrlAndNotes(L"https://example.com/", {L"see ivan@example.ru"}), L"ivan@example.ru"},
      {"the first note without one, a later one with one",
       WithUrlAndNotes(L"", {L"Call after lunch.", L"Home: olga@example.ru."}),
       L"olga@example.ru."},
      {"the first address in the first note that has one", WithUrlAndNotes(L"", {L"a@b", L"c@d"}),
       L"a@b"},
      {"a note whose first @ leads nowhere", WithUrlAndNotes(L"", {L"meet @ 5, ivan@example.ru"}),
       L""},
  };
  for (const Case& c : cases) EXPECT_EQ(FallbackEmail(c.card), c.expected) << c.what;
}

}  // namespace
}  // namespace kontaktel
