#include "view/filter_bar.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "present/card_match.h"
#include "view/contact_list.h"
#include "view/filter_marks.h"
#include "view/list_accessible.h"
#include "view/shown_card.h"
#include "view/viewer_state.h"
#include "win/guarded_call.h"

namespace kontaktel {

namespace {

constexpr UINT_PTR kEditSubclassId = 1;

std::wstring WindowText(HWND control) {
  std::wstring text(static_cast<size_t>(std::max(0, GetWindowTextLengthW(control))) + 1, L'\0');
  const int length = GetWindowTextW(control, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<size_t>(std::max(0, length)));
  return text;
}

// The filter text or the photo-only state changed: the list is rebuilt (the
// one place besides new cards where that happens, since rebuilding may move
// the selection), the details follow a selection that moved, and the list is
// painted anew.
void FilterChanged(HWND window, ViewerState& state) {
  const uint64_t before = state.filter.selected;
  if (RebuildVisibleList(state.cards, state.filter)) {
    state.list.topRow = 0;
    state.details.scroll = 0;
  }
  EnsureSelectionVisible(state);
  NotifyListChanged(state);
  if (state.filter.selected != before) {
    ShowSelectedCard(state);  // lays the window out again
  } else {
    MarkFilterMatches(state.details.view.Get(), state.filter.filterText);
    ScrollToFirstFilterMatch(state);
    InvalidateRect(window, nullptr, FALSE);
  }
}

bool IsListKey(WPARAM key, bool withHomeAndEnd) {
  switch (key) {
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
      return true;
    case VK_HOME:
    case VK_END:
      return withHomeAndEnd;
    default:
      return false;
  }
}

// The viewer window answers Escape and the list's keys as it does its own.
LRESULT OnControlKey(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR subclassId,
                     HWND viewer) {
  // The edit keeps Home, End, Left and Right for its caret.
  const bool isEdit = subclassId == kEditSubclassId;
  if (wParam == VK_ESCAPE || IsListKey(wParam, !isEdit)) {
    SendMessageW(viewer, WM_KEYDOWN, wParam, lParam);
    if (wParam != VK_ESCAPE) SetFocus(viewer);
    return 0;
  }
  if (isEdit && (wParam == VK_RETURN || wParam == VK_TAB)) {
    SetFocus(viewer);
    return 0;
  }
  return DefSubclassProc(control, message, wParam, lParam);
}

}  // namespace

void OnFilterChanged(HWND window, ViewerState& state) {
  const HWND edit = state.list.filterEdit.Get();
  if (!IsWindow(edit)) return;
  std::wstring text = WindowText(edit);
  // Text set to what it was (the control sends EN_CHANGE all the same) is no
  // change: the list and the selection stay.
  if (text == state.filter.filterText) return;
  state.filter.filterText = std::move(text);
  FilterChanged(window, state);
}

void OnPhotoOnlyClicked(HWND window, ViewerState& state) {
  const HWND check = state.list.photoOnlyCheck.Get();
  if (IsWindow(check)) {
    const bool photoOnly = SendMessageW(check, BM_GETCHECK, 0, 0) == BST_CHECKED;
    if (photoOnly != state.filter.photoOnly) {
      state.filter.photoOnly = photoOnly;
      FilterChanged(window, state);
    }
  }
  SetFocus(window);
}

LRESULT CALLBACK EditSubclassProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                  UINT_PTR subclassId, DWORD_PTR viewerWindow) {
  return GuardedCall(
      [&] {
        switch (message) {
          case WM_GETDLGCODE:
            return DefSubclassProc(control, message, wParam, lParam) | DLGC_WANTARROWS |
                   DLGC_WANTTAB | DLGC_WANTALLKEYS;
          case WM_KEYDOWN:
          case WM_SYSKEYDOWN:
            return OnControlKey(control, message, wParam, lParam, subclassId,
                                reinterpret_cast<HWND>(viewerWindow));
          default:
            return DefSubclassProc(control, message, wParam, lParam);
        }
      },
      LRESULT{0});
}

}  // namespace kontaktel
