#include "present/card_accessors.h"

namespace kontaktel {

std::wstring CardDisplayName(const Card& card) {
  std::wstring name(card.fullName());
  if (name.empty()) {
    // A blank only between two names: N:Doe;;;; is Doe, not " Doe".
    name = card.givenName();
    if (!name.empty() && !card.familyName().empty()) name += L' ';
    name += card.familyName();
  }
  const size_t end = name.find_last_not_of(L"= \t");
  name.resize(end == std::wstring::npos ? 0 : end + 1);
  return name;
}

std::wstring FirstPhone(const Card& card) {
  const auto phones = card.phones();
  return phones.empty() ? std::wstring() : std::wstring(phones.front().value);
}

std::wstring FirstEmail(const Card& card) {
  for (const TypedValue email : card.emails()) {
    if (!email.value.empty()) return std::wstring(email.value);
  }
  return {};
}

}  // namespace kontaktel
