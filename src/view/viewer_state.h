// Everything one viewer window owns, reached through its user-data slot.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "photo/gdiplus_bitmap.h"
#include "present/card_match.h"
#include "vcard/card.h"
#include "view/handles.h"

namespace kontaktel {

struct ViewerState {
  CardSet cards;
  // The filtered list, the selection, the top row, the details offset, the
  // host's search marks, the filter text and the photo-only state.
  FilterState filter;
  int rowHeight = 0;  // device pixels; 0 = compute at the next paint
  RECT listRect{};
  int rowsPerPage = 1;
  HWND listScrollBar = nullptr;
  HWND photoPane = nullptr;
  HWND detailsView = nullptr;
  HWND filterEdit = nullptr;
  HWND photoOnlyCheck = nullptr;
  HWND detailsScrollBar = nullptr;
  int listWidth = 0;  // 96-DPI pixels; below 1 means the default
  bool draggingSplitter = false;
  HWND tooltip = nullptr;
  int tooltipCard = -1;
  bool loadPhotoUrl = false;
  uint32_t photoGeneration = 0;
  int64_t fetchCardIndex = -1;
  std::wstring fetchUrl;
  UniqueGdiplusBitmap photo;
  UniqueFont mainFont;
  UniqueFont smallFont;
};

// The window's state, or null for a window that has none (or is no viewer).
ViewerState* GetViewerState(HWND window);

}  // namespace kontaktel
