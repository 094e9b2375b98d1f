// Assembling the cards of a file from its property lines.
#pragma once

#include <string>
#include <string_view>

#include "vcard/card.h"

namespace kontaktel {

// Every card of the text, in the order in which the cards end; a last card
// without END:VCARD is kept. Text outside cards is ignored. Never fails.
CardSet ParseCards(std::wstring_view text);

// Appends the record of one property line to the card's details: hidden
// bookkeeping names are left out, X-ABLABEL and PHOTO become invisible
// records, and empty values are left out unless `freeText` (NOTE) is set.
void AddProperty(Card& card, const std::wstring& name, std::wstring rawPrefix, std::wstring value,
                 bool freeText);

}  // namespace kontaktel
