// Which photo the viewer shows, as far as photos fetched from an address go:
// the generation that stamps every fetch, and the last fetch started, so that
// showing the same card again starts no second download and late answers for
// another card or an older generation are dropped. Pure bookkeeping, no
// window and no thread: the viewer calls it from ShowSelectedCard and its
// WM_PHOTO_LOADED and WM_DESTROY handlers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kontaktel {

struct PhotoFetchState {
  uint32_t photoGeneration = 0;
  int64_t fetchCardIndex = -1;  // card of the last fetch started; -1 for none
  std::wstring fetchUrl;        // its address
};

// The card about to be shown, as the photo rules see it.
struct ShownCardPhoto {
  int64_t index = -1;             // the selected card; -1 when there is none
  bool hasEmbeddedPhoto = false;  // the card carries photo bytes of its own
  std::wstring_view url;          // the card's photo address
  bool loadPhotoUrl = false;      // the "LoadPhotoUrl" setting
};

enum class PhotoStep {
  kKeep,            // the same fetch as before: keep the photo, start nothing
  kNone,            // photo dropped, nothing to show
  kDecodeEmbedded,  // photo dropped; decode the card's own bytes
  kStartFetch,      // photo dropped; start a fetch stamped with photoGeneration
};

// Decides what showing the card does. Every step but kKeep has already
// advanced the generation and forgotten the last fetch: the caller drops its
// photo, and after a fetch that did start, calls PhotoFetchStarted.
PhotoStep BeginShowCardPhoto(PhotoFetchState& state, const ShownCardPhoto& card);

void PhotoFetchStarted(PhotoFetchState& state, int64_t index, std::wstring_view url);

// A fetched photo is used only when it answers the newest fetch, for the card
// still selected, while no photo is shown, and it holds bytes.
bool AcceptFetchedPhoto(const PhotoFetchState& state, int64_t selected, bool photoShown,
                        uint32_t resultGeneration, uint64_t resultCardIndex, bool resultEmpty);

// The window is going: every fetch still running becomes stale.
void InvalidatePhotoFetches(PhotoFetchState& state);

}  // namespace kontaktel
