// Finding an e-mail address in a card that has no EMAIL property.
#pragma once

#include <string>
#include <string_view>

#include "vcard/card.h"

namespace kontaktel {

// The address around the first "@": the runs of letters, digits and + - . _
// on both sides of it. Empty when there is no "@" or either run is empty;
// a later "@" is not tried. Nothing is validated.
std::wstring ExtractEmailAddress(std::wstring_view text);

// A mailto: URL (up to its "?"), else an address written in the URL, the
// first note or any other note, in that order; empty when none has one.
std::wstring FallbackEmail(const Card& card);

}  // namespace kontaktel
