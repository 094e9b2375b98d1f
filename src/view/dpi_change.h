// What one viewer window makes for its DPI: the fonts, and with them the
// details' character height in twips, its margins and the tooltip's width.
// Row heights, the photo box, scroll steps, the tab stop and scroll bar widths
// are computed from the window's DPI at every layout or use.
#pragma once

#include <windows.h>

#include "view/viewer_state.h"

namespace kontaktel {

// The two UI fonts at the window's DPI, remembered with it.
void CreateViewerFonts(HWND window, ViewerFonts& fonts);

// Checked at the start of every layout: under per-monitor awareness v2,
// WM_DPICHANGED_AFTERPARENT reaches a child window only after the host's
// resize has already sent WM_SIZE. When the window's DPI is no longer the one
// its fonts were made for, everything made for a DPI is made anew; the layout
// that follows places and repaints the window once. True on a change.
bool AdoptWindowDpi(HWND window, ViewerState& state);

}  // namespace kontaktel
