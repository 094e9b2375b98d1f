// The viewer's side of photo downloads; the worker, its records and the
// address guard live in photo/.
#include "view/photo_download.h"

#include "photo/photo_decode.h"
#include "photo/photo_fetch_state.h"

namespace kontaktel {

bool StartPhotoFetch(HWND, ViewerState& state, const std::wstring& url) {
  const HWND pane = state.photo.pane.Get();
  const HWND target = IsWindow(pane) ? GetParent(pane) : nullptr;
  if (!IsWindow(target)) return false;
  return StartPhotoFetch(
      MakePhotoFetchRequest(target, state.filter.selected, state.photo.fetch.photoGeneration, url));
}

LRESULT OnPhotoLoaded(HWND window, ViewerState* state, LPARAM lParam) {
  const std::unique_ptr<PhotoFetchResult> result = TakePhotoResult(lParam);
  if (state == nullptr || result == nullptr) return 0;
  PhotoPart& photo = state->photo;
  if (!AcceptFetchedPhoto(photo.fetch, static_cast<int64_t>(state->filter.selected),
                          static_cast<bool>(photo.image), result->generation, result->cardIndex,
                          result->bytes.empty())) {
    return 0;
  }
  photo.image = DecodePhoto(result->bytes);
  photo.fetchedBytes = std::move(result->bytes);
  if (IsWindow(photo.pane.Get())) InvalidateRect(photo.pane.Get(), nullptr, TRUE);
  RelayoutViewer(window);
  return 0;
}

void DiscardQueuedPhotoResults(HWND window) {
  UnregisterPhotoTarget(window);
  PurgePhotoResults(window);
}

}  // namespace kontaktel
