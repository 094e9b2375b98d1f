// The viewer window that the plugin places inside the host's Lister window:
// its creation with the child controls, its destruction, the cards it is
// handed, its layout and its painting, for the window procedure and the
// exports.
#pragma once

#include <windows.h>

#include "text/source_bytes.h"
#include "vcard/card.h"
#include "view/viewer_state.h"

namespace kontaktel {

// WM_CREATE: the state, handed to the window, and the child controls. -1 when
// the window cannot be made.
LRESULT OnCreate(HWND window);

// WM_DESTROY: fetches still running become stale, queued results are freed,
// the controls go, and the window's state is freed.
void OnDestroy(HWND window);

// Copies the window's settings ("ListWidth", "LoadPhotoUrl") from the INI file.
void ApplySettings(ViewerState& state);

// Hands a file's cards to the window: the first card selected, the search
// cleared, the filter kept, the settings re-read and the window laid out anew.
// `source` is the file's bytes, kept for copying cards as the file holds them.
void AttachCards(ViewerState& state, CardSet cards, FileBytes source = {});

// Places every child control for a client area of width x height.
void LayoutViewer(ViewerState& state, int width, int height);

// The viewer's client area drawn into `dc` (for WM_PAINT and WM_PRINTCLIENT);
// only the background for a window without state.
void PaintViewer(HWND window, ViewerState* state, HDC dc);

// Asks the host to close its Lister window, as Escape does: the first viewer
// window from `window` upwards tells its parent.
void CloseHostWindow(HWND window);

}  // namespace kontaktel
