// Everything one viewer window owns, reached through its user-data slot, in
// one piece per part of the window.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "photo/gdiplus_bitmap.h"
#include "photo/photo_cache.h"
#include "photo/photo_fetch_state.h"
#include "present/card_match.h"
#include "vcard/card.h"
#include "view/details_extent.h"
#include "view/handles.h"

namespace kontaktel {

// The list column: contact list, filter strip and the list's tooltip.
struct ListPart {
  int rowHeight = 0;  // device pixels; 0 = compute at the next paint
  RECT listRect{};    // the rows area as last painted
  int rowsPerPage = 1;
  int tooltipCard = -1;  // card whose name the tooltip last showed; -1 = none
  UniqueWindow tooltip;
  UniqueWindow filterEdit;
  UniqueWindow photoOnlyCheck;
  UniqueWindow scrollBar;
};

// The details column: the rich edit with the card's text and the column's
// scroll bar (the offset is FilterState::detailsScroll).
struct DetailsPart {
  UniqueWindow view;
  UniqueWindow scrollBar;
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

struct ViewerFonts {
  UniqueFont main;   // list names, details text
  UniqueFont small;  // filter edit, check box, second list line, status text
};

struct ViewerState {
  explicit ViewerState(HWND viewer) : window(viewer) {}
  HWND window;
  CardSet cards;
  // New with every set of cards the window is handed (NextCardsStamp): code
  // that waited in a modal loop, such as a context menu, finds out whether the
  // window still holds the cards it started with.
  uint64_t cardsStamp = 0;
  // The filtered list, the selection, the top row, the details offset, the
  // host's search marks, the filter text and the photo-only state.
  FilterState filter;
  ListPart list;
  DetailsPart details;
  PhotoPart photo;
  SplitterPart splitter;
  ViewerFonts fonts;
};

// A stamp no window of the module has had yet.
inline uint64_t NextCardsStamp() {
  static uint64_t last = 0;  // module-wide: a new window never repeats an old stamp
  return ++last;
}

// The window's state, or null for a window that has none (or is no viewer).
ViewerState* GetViewerState(HWND window);

}  // namespace kontaktel
