#include "photo/card_photo.h"

namespace kontaktel {

bool CardHasEmbeddedPhoto(const Card& card) {
  return card.photoData.has_value() && !card.photoData->empty();
}

std::wstring_view CardPhotoUrl(const Card& card) {
  return card.photoUrl;
}

}  // namespace kontaktel
