// Photos given by address are not downloaded yet: no download starts, and no
// result can arrive.
#include "view/photo_download.h"

namespace kontaktel {

bool StartPhotoFetch(HWND, ViewerState&, const std::wstring&) {
  return false;
}

LRESULT OnPhotoLoaded(HWND, ViewerState*, LPARAM) {
  return 0;
}

void DiscardQueuedPhotoResults(HWND) {}

}  // namespace kontaktel
