// The photo fields of a card as the viewer's photo code reads them; the only
// place that knows how the card model keeps them.
#pragma once

#include <string_view>

#include "vcard/card.h"

namespace kontaktel {

// The card carries photo bytes of its own (a non-empty embedded PHOTO).
bool CardHasEmbeddedPhoto(const Card& card);

// The address of the card's photo, as written in the card; empty for none.
std::wstring_view CardPhotoUrl(const Card& card);

}  // namespace kontaktel
