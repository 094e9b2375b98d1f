// A card's name and first contact details as the contact list and the copy
// commands show them.
#pragma once

#include <string>

#include "vcard/card.h"

namespace kontaktel {

// FN, else the given and family names; without trailing "=", blanks and tabs,
// which quoted-printable exporters leave behind.
std::wstring CardDisplayName(const Card& card);

// The first telephone number; empty when there is none.
std::wstring FirstPhone(const Card& card);

// The first non-empty e-mail address; empty when there is none.
std::wstring FirstEmail(const Card& card);

}  // namespace kontaktel
