// What the details view's text needs, kept between layouts: measuring a long
// card's text lays all of it out again, so its height is measured once per
// text, font and width, and its tab stop set once per text and width.
// Scrolling, wheel notches and the scroll bar reuse both.
#pragma once

#include <windows.h>

namespace kontaktel {

// Sent by the details view to the viewer when a key, the mouse or a caret
// request has scrolled the view's own text.
inline constexpr UINT WM_DETAILS_SCROLLED = WM_APP + 45;

struct DetailsExtent {
  int heightWidth = -1;  // the width `height` was measured at; -1 = not measured
  int height = 0;
  int tabClientWidth = -1;  // the client width the tab stop was set for; -1 = not set
  int captionWidth = 0;     // the widest caption of the text, device pixels
  int measures = 0;         // how often the text was measured, for the tests
  // Where the last layout put the text: its top in the column, and whether the
  // view, too tall for a window, scrolls its own text below the photo.
  int textTop = 0;
  bool scrollsItself = false;
};

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
