// What the viewer reads of a card's photo, each in one place.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "vcard/card.h"

namespace kontaktel {

// The embedded photo's bytes; empty when the card has none.
inline std::span<const uint8_t> CardPhotoData(const Card& card) {
  if (!card.photoData) return {};
  return std::span<const uint8_t>(*card.photoData);
}

// The address of a photo given by URL; empty when there is none.
inline std::wstring_view CardPhotoUrl(const Card& card) {
  return card.photoUrl;
}

}  // namespace kontaktel
