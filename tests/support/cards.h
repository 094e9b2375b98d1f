// Cards made from vCard text for tests. A Card is a view into its set, so a
// card that a helper returns keeps its set alive with it.
#pragma once

#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

#include "vcard/card_parser.h"

namespace kontaktel {

struct SharedCardSet {
  std::shared_ptr<const CardSet> set;
};

// One card together with the set it belongs to; usable wherever a Card is.
class TestCard : private SharedCardSet, public Card {
 public:
  TestCard(std::shared_ptr<const CardSet> set, size_t index)
      : SharedCardSet{std::move(set)}, Card(*SharedCardSet::set, index) {}
};

// A file of one card per body, each body being lines joined with CR LF.
inline std::shared_ptr<const CardSet> SharedCards(std::initializer_list<std::wstring_view> bodies) {
  std::wstring text;
  for (const std::wstring_view body : bodies) {
    text.append(L"BEGIN:VCARD\r\nVERSION:3.0\r\n").append(body);
    if (!body.empty() && body.back() != L'\n') text += L"\r\n";
    text += L"END:VCARD\r\n";
  }
  return std::make_shared<const CardSet>(ParseCards(std::move(text)));
}

inline CardSet CardsOf(std::initializer_list<std::wstring_view> bodies) {
  return CardSet(*SharedCards(bodies));
}

// The card around `body`; an empty body gives an empty card.
inline TestCard CardOf(std::wstring_view body) { return TestCard(SharedCards({body}), 0); }

// The first card of a whole file's text (which must hold one).
inline TestCard FirstCardOf(std::wstring text) {
  return TestCard(std::make_shared<const CardSet>(ParseCards(std::move(text))), 0);
}

// Lines joined with CR LF, each ending with one.
inline std::wstring JoinLines(std::initializer_list<std::wstring_view> lines) {
  std::wstring text;
  for (const std::wstring_view line : lines) text.append(line).append(L"\r\n");
  return text;
}

// The card around `lines`.
inline TestCard CardOfLines(std::initializer_list<std::wstring_view> lines) {
  return CardOf(JoinLines(lines));
}

}  // namespace kontaktel
