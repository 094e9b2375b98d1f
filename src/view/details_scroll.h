// The details column scrolls as a whole (photo and text together) with its
// own scroll bar at the window's right edge.
#pragma once

#include <windows.h>

#include "view/viewer_state.h"

namespace kontaktel {

// WM_VSCROLL from the details scroll bar.
void OnDetailsScroll(HWND window, ViewerState& state, int code);

// WM_MOUSEWHEEL over the details column (client coordinates); false when the
// point is not over it.
bool OnDetailsWheel(HWND window, ViewerState& state, POINT client, int delta);

// WM_DETAILS_SCROLLED: the view scrolled its own text (keys, a dragged
// selection): the column's offset follows.
void OnDetailsTextScrolled(HWND window, ViewerState& state);

}  // namespace kontaktel
