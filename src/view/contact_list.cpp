// A first, plain list: one name per row. The owner-drawn rows, filter,
// tooltip and scrolling of the full list come with the contact list's own work.
#include "view/contact_list.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "present/card_accessors.h"
#include "view/theme.h"
#include "view/viewer_window.h"

namespace kontaktel {

void DrawContactList(HWND window, ViewerState& state, HDC dc, const RECT& area) {
  state.list.listRect = area;
  if (state.list.rowHeight <= 0) state.list.rowHeight = ScaleForDpi(window, 60);
  const Palette& palette = CurrentPalette();
  FillRect(dc, &area, PanelBrush());
  const int rowHeight = std::max(1, state.list.rowHeight);
  state.list.rowsPerPage = std::max(1, static_cast<int>((area.bottom - area.top) / rowHeight));
  SelectScope font(dc, state.fonts.main.Get());
  SetBkMode(dc, TRANSPARENT);
  const auto& visible = state.filter.visibleIndices;
  int y = area.top;
  for (size_t row = static_cast<size_t>(std::max(0, state.filter.topRow));
       row < visible.size() && y < area.bottom; ++row, y += rowHeight) {
    const uint64_t index = visible[row];
    RECT rowRect{area.left, y, area.right, y + rowHeight};
    if (index == state.filter.selected) {
      const UniqueBrush selection(CreateSolidBrush(palette.selection));
      FillRect(dc, &rowRect, selection.Get());
    }
    RECT text = rowRect;
    text.left += ScaleForDpi(window, 10);
    text.right -= ScaleForDpi(window, 6);
    SetTextColor(dc, palette.text);
    const std::wstring name = CardDisplayName(state.cards[index]);
    DrawTextW(dc, name.c_str(), -1, &text,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
}

bool NavigateList(HWND window, ViewerState& state, WPARAM key) {
  if (state.cards.empty()) return false;
  const size_t last = state.cards.size() - 1;
  const size_t selected = static_cast<size_t>(state.filter.selected);
  switch (key) {
    case VK_UP:
      SelectCard(window, selected > 0 ? selected - 1 : 0);
      return true;
    case VK_DOWN:
      SelectCard(window, std::min(selected + 1, last));
      return true;
    case VK_HOME:
      SelectCard(window, 0);
      return true;
    case VK_END:
      SelectCard(window, last);
      return true;
    default:
      return false;
  }
}

bool OnListButtonDown(HWND, ViewerState&, POINT) {
  return false;
}
bool OnListWheel(HWND, ViewerState&, POINT, int) {
  return false;
}
void OnListMouseMove(HWND, ViewerState&, POINT) {}
void OnListScroll(HWND, ViewerState&, WPARAM) {}
void OnFilterChanged(HWND, ViewerState&) {}
void OnPhotoOnlyClicked(HWND, ViewerState&) {}

void EnsureSelectionVisible(ViewerState&) {}

LRESULT CALLBACK EditSubclassProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                  UINT_PTR, DWORD_PTR) {
  try {
    return DefSubclassProc(control, message, wParam, lParam);
  } catch (...) {
    return 0;
  }
}

}  // namespace kontaktel
