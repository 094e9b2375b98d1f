// The viewer's side of photo downloads; the worker, its records and the
// address guard live in photo/.
#include "view/photo_download.h"

#include "photo/download_queue.h"
#include "photo/photo_fetch_state.h"
#include "view/shown_photo.h"

namespace kontaktel {

bool StartPhotoFetch(HWND, ViewerState& state, const std::wstring& url) {
  if (const PhotoBytes cached = state.photo.cache.Find(url)) {
    DropPhotoFetch(state);
    ShowPhotoBytes(state, cached);
    return true;
  }
  const HWND pane = state.photo.pane.Get();
  const HWND target = IsWindow(pane) ? GetParent(pane) : nullptr;
  if (!IsWindow(target)) return false;
  return StartPhotoFetch(
      MakePhotoFetchRequest(target, state.filter.selected, state.photo.fetch.photoGeneration, url));
}

void DropPhotoFetch(ViewerState& state) {
  WithdrawPhotoDownloads(state.window);
}

LRESULT OnPhotoLoaded(HWND window, ViewerState* state, LPARAM lParam) {
  const std::unique_ptr<PhotoFetchResult> result = TakePhotoResult(lParam);
  if (state == nullptr || result == nullptr) return 0;
  PhotoPart& photo = state->photo;
  const bool empty = result->bytes.empty();
  const auto bytes = std::make_shared<const std::vector<uint8_t>>(std::move(result->bytes));
  photo.cache.Put(result->url, bytes);
  if (!AcceptFetchedPhoto(photo.fetch, static_cast<int64_t>(state->filter.selected),
                          photo.image != nullptr, result->generation, result->cardIndex, empty)) {
    return 0;
  }
  ShowPhotoBytes(*state, bytes);
  if (IsWindow(photo.pane.Get())) InvalidateRect(photo.pane.Get(), nullptr, TRUE);
  RelayoutViewer(window);
  return 0;
}

void DiscardQueuedPhotoResults(HWND window) {
  UnregisterPhotoTarget(window);
  PurgePhotoResults(window);
}

}  // namespace kontaktel
