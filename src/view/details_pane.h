// The details view: a read-only rich edit that shows the selected card's text
// with captions and values in two colours, lined up on one tab stop.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "win/window_handles.h"

namespace kontaktel {

inline constexpr int kDetailsViewId = 1002;

// Creates the details view: "RICHEDIT50W", else "RichEdit20W", else a plain
// multi-line edit, with the font, the palette's background and no URL
// detection. The rich edit library is loaded with the first viewer.
UniqueWindow CreateDetailsView(HWND viewer, HFONT font);

// Unloads the rich edit library when the last viewer window has gone.
void ReleaseRichEditLibrary();

// Replaces the text (always as plain text: a card must not be able to pass
// rich text) and colours it line by line.
void FillDetailsView(HWND view, const std::wstring& text, HFONT font);

// The single tab stop in twips for a view whose client area is `clientWidth`
// device pixels wide: at 38 % of the width within 100 to 240 pixels at 96 DPI
// (scaled to `dpi`). 0 (no tab stop set) below 40 pixels.
int DetailsTabStopTwips(int clientWidth, int dpi);
void SetDetailsTabStop(HWND view);

// The height in device pixels at which the view shows its whole text at the
// given width without scrolling itself.
int MeasureDetailsHeight(HWND view, int width);

// A range of the text that shows in the caption colour.
struct CaptionSpan {
  size_t start = 0;
  size_t length = 0;
  bool operator==(const CaptionSpan&) const = default;
};
// The captions of a details text, by its own lines (CR, LF or CR LF ends a
// line; wrapping on screen does not): the text before a tab, or up to the
// first ':' and the blank after it; headings ("─", "--") have none.
std::vector<CaptionSpan> DetailsCaptionSpans(std::wstring_view text);

}  // namespace kontaktel
