// Everything one viewer window owns, reached through its user-data slot.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "photo/gdiplus_bitmap.h"
#include "vcard/card.h"
#include "view/handles.h"

namespace kontaktel {

struct ViewerState {
  CardSet cards;
  std::vector<uint64_t> visibleIndices;  // the filtered list, in display order
  uint64_t selected = 0;                 // index into cards
  int topRow = 0;                        // first row drawn, index into visibleIndices
  int rowHeight = 0;                     // device pixels; 0 = compute at the next paint
  RECT listRect{};
  int rowsPerPage = 1;
  HWND listScrollBar = nullptr;
  HWND photoPane = nullptr;
  HWND detailsView = nullptr;
  HWND filterEdit = nullptr;
  HWND photoOnlyCheck = nullptr;
  int detailsScroll = 0;
  HWND detailsScrollBar = nullptr;
  int listWidth = 0;  // 96-DPI pixels; below 1 means the default
  bool draggingSplitter = false;
  std::wstring searchText;
  std::vector<uint8_t> matchFlags;  // one per card after a search
  uint32_t matchCount = 0;
  uint32_t matchOrdinal = 0;
  std::wstring filterText;
  bool photoOnly = false;
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
