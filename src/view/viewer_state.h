// Everything one viewer window owns, owned by the window through its user-data
// slot, in one piece per part of the window. The window procedure hands it to
// the parts, which work on what they are handed.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "photo/gdiplus_bitmap.h"
#include "photo/photo_cache.h"
#include "photo/photo_fetch_state.h"
#include "present/card_match.h"
#include "text/source_bytes.h"
#include "vcard/card.h"
#include "view/accessible_link.h"
#include "view/wheel_steps.h"
#include "win/gdi_handles.h"
#include "win/window_handles.h"
#include "win/window_user_data.h"

namespace kontaktel {

// The list column: contact list, filter strip and the list's tooltip.
struct ListPart {
  int rowHeight = 0;  // device pixels; 0 = compute at the next paint
  RECT listRect{};    // the rows area as last painted
  int32_t topRow = 0;  // index into the visible list of the first row drawn
  int rowsPerPage = 1;
  int tooltipCard = -1;  // card whose name the tooltip last showed; -1 = none
  UniqueWindow tooltip;
  UniqueWindow filterEdit;
  UniqueWindow photoOnlyCheck;
  UniqueWindow scrollBar;
};

// The details column: the rich edit with the card's text and the column's
// scroll bar.
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

struct DetailsPart {
  UniqueWindow view;
  UniqueWindow scrollBar;
  int32_t scroll = 0;  // the column's offset in device pixels, 0 = top
  DetailsExtent extent;  // the text's measured height and tab stop, and where it was placed
};

// The photo shown above the details, and the download that may bring it.
struct PhotoPart {
  UniqueWindow pane;
  UniqueGdiplusBitmap image;  // the decoded photo at most the box's size, or none
  PhotoBytes bytes;           // the bytes it was decoded from
  int imageDpi = 0;           // the DPI its size was chosen for
  // The generation that stamps downloads, advanced whenever the shown photo is
  // dropped, and the card and address of the last download started.
  PhotoFetchState fetch;
  PhotoCache cache;  // photos fetched for the file shown, by address
  bool loadPhotoUrl = false;  // setting LoadPhotoUrl
};

// The bar between the columns.
struct SplitterPart {
  int listWidth = 0;  // 96-DPI pixels as stored in ListWidth; below 1 means the default
  bool dragging = false;
};

// A file still being read by a worker: its job, which the worker shares, and
// how far it had come at the last batch taken in.
struct CardLoadJob;
struct LoadingPart {
  std::shared_ptr<CardLoadJob> job;  // null when no load runs
  uint64_t bytesRead = 0;
  uint64_t fileSize = 0;
  int steps = 0;  // the worker's steps taken in so far
};

struct ViewerFonts {
  UniqueFont main;   // list names, details text
  UniqueFont small;  // filter edit, check box, second list line, status text
  int dpi = 0;       // the window's DPI they were made for
};

struct ViewerState {
  explicit ViewerState(HWND viewer) : window(viewer) {}
  HWND window;
  CardSet cards;
  FileBytes source;  // the file the cards were read from, as its bytes (once read whole)
  LoadingPart loading;
  // New with every set of cards the window is handed (NextCardsStamp): code
  // that waited in a modal loop, such as a context menu, finds out whether the
  // window still holds the cards it started with. Cards appended by a load
  // keep it: the cards before them stay where they were.
  uint64_t cardsStamp = 0;
  // The filtered list, the selection, the host's search marks, the filter
  // text and the photo-only state.
  FilterState filter;
  ListPart list;
  DetailsPart details;
  PhotoPart photo;
  SplitterPart splitter;
  ViewerFonts fonts;
  // Wheel deltas not yet moved, over the list or the details alike.
  WheelAccumulator wheel;
  AccessibleLink accessible;  // what screen readers hold of the list
};

// The areas the wheel scrolls.
inline constexpr int kWheelOverList = 0;
inline constexpr int kWheelOverDetails = 1;

// A stamp no window of the module has had yet.
inline uint64_t NextCardsStamp() {
  static uint64_t last = 0;  // module-wide: a new window never repeats an old stamp
  return ++last;
}

// The state of one of the module's own viewer windows, null once the window
// is gone (after a modal loop, say). A handle from outside goes through
// GetViewerState, which checks the window's class.
inline ViewerState* ViewerStateOf(HWND window) {
  return IsWindow(window) ? WindowUserData<ViewerState>(window) : nullptr;
}

// Lays the window out again from its client size: sends it WM_SIZE, which
// every change of what is shown ends with.
inline void RelayoutViewer(HWND window) {
  if (!IsWindow(window)) return;
  RECT client{};
  GetClientRect(window, &client);
  SendMessageW(window, WM_SIZE, 0,
               MAKELPARAM(client.right - client.left, client.bottom - client.top));
}

}  // namespace kontaktel
