// What the viewer reads of a card's photo, each in one place.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "vcard/card.h"

namespace kontaktel {

// The embedded photo's bytes, decoded now; empty when the card has none.
inline std::vector<uint8_t> CardPhotoData(const Card& card) { return card.photoData(); }

// The address of a photo given by URL; empty when there is none.
inline std::wstring_view CardPhotoUrl(const Card& card) { return card.photoUrl(); }

}  // namespace kontaktel
