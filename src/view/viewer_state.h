// Everything one viewer window owns, reached through its user-data slot, in
// one piece per part of the window.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "photo/gdiplus_bitmap.h"
#include "photo/photo_fetch_state.h"
#include "present/card_match.h"
#include "vcard/card.h"
#include "view/handles.h"

namespace kontaktel {

// The list column: contact list, filter strip and the list's tooltip.
struct ListPart {
  int rowHeight = 0;  // device pixels; 0 = compute at the next paint
  RECT listRect{};    // the rows area as last painted
  int rowsPerPage = 1;
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
};

struct ViewerState {
  explicit ViewerState(HWND viewer) : window(viewer) {}
  HWND window;
  CardSet cards;
  // The filtered list, the selection, the top row, the details offset, the
  // host's search marks, the filter text and the photo-only state.
  FilterState filter;
  ListPart list;
  DetailsPart details;
  PhotoPart photo;
  SplitterPart splitter;
  ViewerFonts fonts;
};

// The window's state, or null for a window that has none (or is no viewer).
ViewerState* GetViewerState(HWND window);

}  // namespace kontaktel
