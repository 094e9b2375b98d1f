// Assembling the cards of a file from its property lines.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "vcard/card.h"

namespace kontaktel {

// Every card of the text, in the order in which the cards end; a last card
// without END:VCARD is kept. Text outside cards is ignored. Never fails. The
// set keeps the text.
CardSet ParseCards(std::wstring text);

// The bytes of an embedded photo from its PHOTO line and the lines that line
// took in, as written in the file (what a card keeps of its photo until the
// bytes are asked for). Empty when they do not decode.
std::vector<uint8_t> DecodePhotoSource(std::wstring_view source);

}  // namespace kontaktel
