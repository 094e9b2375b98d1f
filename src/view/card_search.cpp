#include "view/card_search.h"

#include <cwctype>
#include <string>

#include "text/case_fold.h"

namespace kontaktel {

namespace {

bool IsWordChar(wchar_t c) { return std::iswalnum(static_cast<wint_t>(c)) || c == L'_'; }

bool Contains(std::wstring_view haystack, std::wstring_view needle, bool wholeWords) {
  for (size_t at = haystack.find(needle); at != std::wstring_view::npos; at = haystack.find(needle, at + 1)) {
    if (!wholeWords) return true;
    const bool startsWord = at == 0 || !IsWordChar(haystack[at - 1]);
    const size_t end = at + needle.size();
    if (startsWord && (end == haystack.size() || !IsWordChar(haystack[end]))) return true;
  }
  return false;
}

bool CardHolds(const Card& card, const std::wstring& needle, bool matchCase, bool wholeWords) {
  auto test = [&](const std::wstring& text) {
    return matchCase ? Contains(text, needle, wholeWords) : Contains(LowerForMatch(text), needle, wholeWords);
  };
  for (const std::wstring* text : {&card.fullName, &card.familyName, &card.givenName, &card.organization,
                                   &card.title, &card.note}) {
    if (test(*text)) return true;
  }
  for (const auto* list : {&card.phones, &card.emails}) {
    for (const TypedValue& value : *list) {
      if (test(value.value)) return true;
    }
  }
  for (const CardProperty& property : card.properties) {
    if (property.visible && test(property.value)) return true;
  }
  return false;
}

}  // namespace

std::optional<size_t> FindCard(const CardSet& cards, std::wstring_view text, size_t start, bool backwards,
                               bool matchCase, bool wholeWords) {
  if (text.empty() || cards.empty()) return std::nullopt;
  const std::wstring needle = matchCase ? std::wstring(text) : LowerForMatch(text);
  const size_t count = cards.size();
  size_t index = start % count;
  for (size_t step = 0; step < count; ++step) {
    if (CardHolds(cards[index], needle, matchCase, wholeWords)) return index;
    index = backwards ? (index + count - 1) % count : (index + 1) % count;
  }
  return std::nullopt;
}

}  // namespace kontaktel
