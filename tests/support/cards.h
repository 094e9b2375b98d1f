// Cards made from vCard text for tests. A Card is a view into its set, so a
// card that a helper returns keeps its set alive with it.
#pragma once

#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

#include "vcard/card_parser.h"

namespace kontaktel {

// Lines joined with CR LF, each ending with one.
inline std::wstring JoinLines(std::initializer_list<std::wstring_view> lines) {
  std::wstring text;
  for (const std::wstring_view line : lines) text.append(line).append(L"\r\n");
  return text;
}

// A file of one card per body, each body being lines joined with CR LF.
inline CardSet CardsOf(std::initializer_list<std::wstring_view> bodies) {
  std::wstring text;
  for (const std::wstring_view body : bodies) {
    text.append(L"BEGIN:VCARD\r\nVERSION:3.0\r\n").append(body);
    if (!body.empty() && body.back() != L'\n') text += L"\r\n";
    text += L"END:VCARD\r\n";
  }
  return ParseCards(std::move(text));
}

// The card around `body` together with the set it belongs to.
class TestCard : private std::shared_ptr<const CardSet>, public Card {
 public:
  explicit TestCard(std::wstring_view body)
      : std::shared_ptr<const CardSet>(std::make_shared<const CardSet>(CardsOf({body}))),
        Card(**this, 0) {}
};

inline TestCard CardOf(std::wstring_view body) { return TestCard(body); }
inline TestCard CardOfLines(std::initializer_list<std::wstring_view> lines) {
  return TestCard(JoinLines(lines));
}

}  // namespace kontaktel
