// Where the viewer meets the photo download worker: starting a download for
// the shown card and taking its answer.
#pragma once

#include <windows.h>

#include <string>

#include "view/viewer_state.h"

namespace kontaktel {

// Posted by a download with its result record in lParam.
inline constexpr UINT WM_PHOTO_LOADED = WM_APP + 77;

// Starts downloading the selected card's photo from `url` for the window;
// false when no download started.
bool StartPhotoFetch(HWND window, ViewerState& state, const std::wstring& url);

// WM_PHOTO_LOADED: uses the result when it is still wanted; frees it always.
LRESULT OnPhotoLoaded(HWND window, ViewerState* state, LPARAM result);

// At destruction: frees every result still queued for the window.
void DiscardQueuedPhotoResults(HWND window);

}  // namespace kontaktel
