// Everything one viewer window owns, owned by the window through its user-data
// slot, in one piece per part of the window. The window procedure hands it to
// the parts, which work on what they are handed.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "photo/gdiplus_bitmap.h"
#include "photo/photo_fetch_state.h"
#include "present/card_match.h"
#include "vcard/card.h"
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
struct DetailsPart {
  UniqueWindow view;
  UniqueWindow scrollBar;
  int32_t scroll = 0;  // the column's offset in device pixels, 0 = top
};

// The photo shown above the details, and the download that may bring it.
struct PhotoPart {
  UniqueWindow pane;
  UniqueGdiplusBitmap image;  // the decoded photo, or none
  // The generation that stamps downloads, advanced whenever the shown photo is
  // dropped, and the card and address of the last download started.
  PhotoFetchState fetch;
  bool loadPhotoUrl = false;  // setting LoadPhotoUrl
};

// The bar between the columns.
struct SplitterPart {
  int listWidth = 0;  // 96-DPI pixels as stored in ListWidth; below 1 means the default
  bool dragging = false;
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
  // New with every set of cards the window is handed (NextCardsStamp): code
  // that waited in a modal loop, such as a context menu, finds out whether the
  // window still holds the cards it started with.
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
