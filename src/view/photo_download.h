// Where the viewer meets the photo download worker: starting a download for
// the shown card and taking its answer.
#pragma once

#include <windows.h>

#include <string>

#include "photo/photo_fetch.h"
#include "view/viewer_state.h"

namespace kontaktel {

// Shows the selected card's photo from `url`: at once when this viewer
// fetched it before, else by a download for the window that holds the photo
// pane. False when neither is possible.
bool StartPhotoFetch(HWND window, ViewerState& state, const std::wstring& url);

// The viewer wants no photo from the network any more: its waiting download
// is dropped and the running one abandoned.
void DropPhotoFetch(ViewerState& state);

// WM_PHOTO_LOADED: uses the result when it is still wanted; frees it always.
LRESULT OnPhotoLoaded(HWND window, ViewerState* state, LPARAM result);

// At destruction, before the state goes: no worker posts to the window any
// more, and every result still queued for it is freed.
void DiscardQueuedPhotoResults(HWND window);

}  // namespace kontaktel
