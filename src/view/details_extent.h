// What the details view's text needs, kept between layouts (DetailsExtent in
// the viewer's state): measuring a long card's text lays all of it out again,
// so its height is measured once per text, font and width, and its tab stop
// set once per text and width. Scrolling, wheel notches and the scroll bar
// reuse both.
#pragma once

#include <windows.h>

#include "view/viewer_state.h"

namespace kontaktel {

// A new text (or font) is in the view: its height and tab stop are unknown.
void ForgetDetailsExtent(DetailsExtent& extent, int captionWidth);

// The height the view's text needs at `width`, measured only when unknown.
int DetailsHeight(DetailsExtent& extent, HWND view, int width);

// Sets the tab stop when the text or the view's width changed since the last time.
void FitDetailsTabStop(DetailsExtent& extent, HWND view);

// Scrolls the view's own text to `y` pixels from its top, when it is elsewhere.
void ScrollDetailsText(HWND view, int y);

// The view's own scroll offset in pixels.
int DetailsTextScroll(HWND view);

}  // namespace kontaktel
