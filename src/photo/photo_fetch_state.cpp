#include "photo/photo_fetch_state.h"

namespace kontaktel {

PhotoStep BeginShowCardPhoto(PhotoFetchState& state, const ShownCardPhoto& card) {
  const bool hasCard = card.index >= 0;
  const bool wantsFetch =
      hasCard && !card.hasEmbeddedPhoto && card.loadPhotoUrl && !card.url.empty();
  if (wantsFetch && card.index == state.fetchCardIndex && card.url == state.fetchUrl) {
    return PhotoStep::kKeep;
  }
  ++state.photoGeneration;
  state.fetchCardIndex = -1;
  state.fetchUrl.clear();
  if (hasCard && card.hasEmbeddedPhoto) return PhotoStep::kDecodeEmbedded;
  return wantsFetch ? PhotoStep::kStartFetch : PhotoStep::kNone;
}

void PhotoFetchStarted(PhotoFetchState& state, int64_t index, std::wstring_view url) {
  state.fetchCardIndex = index;
  state.fetchUrl.assign(url);
}

bool AcceptFetchedPhoto(const PhotoFetchState& state, int64_t selected, bool photoShown,
                        uint32_t resultGeneration, uint64_t resultCardIndex, bool resultEmpty) {
  return resultGeneration == state.photoGeneration && selected >= 0 &&
         resultCardIndex == static_cast<uint64_t>(selected) && !photoShown && !resultEmpty;
}

void InvalidatePhotoFetches(PhotoFetchState& state) {
  ++state.photoGeneration;
  state.fetchCardIndex = -1;
  state.fetchUrl.clear();
}

}  // namespace kontaktel
