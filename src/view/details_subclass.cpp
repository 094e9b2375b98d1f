#include "view/details_subclass.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <iterator>
#include <string>

#include "view/clipboard.h"
#include "view/context_menu.h"
#include "view/details_extent.h"
#include "view/details_text.h"
#include "win/guarded_call.h"
#include "win/message_table.h"

namespace kontaktel {

namespace {

// Each handler gets the viewer window, or null when the view has lost it.
using Viewer = HWND;

bool NothingSelected(HWND view) {
  const CHARRANGE selection = DetailsSelection(view);
  return selection.cpMax <= selection.cpMin;
}

// WM_KEYDOWN, WM_CHAR, WM_SYSKEYDOWN.
LRESULT OnKey(const Message& m, Viewer viewer) {
  if (m.wParam == VK_ESCAPE) {
    // The viewer window closes the host's window, as for its own Escape.
    if (viewer != nullptr) SendMessageW(viewer, WM_KEYDOWN, VK_ESCAPE, 0);
    return 0;
  }
  // With a selection the control copies it itself; without one the line's value.
  if (m.id == WM_KEYDOWN && m.wParam == 'C' && GetKeyState(VK_CONTROL) < 0 &&
      NothingSelected(m.window)) {
    if (const std::wstring value = DetailsLineValue(m.window); !value.empty()) {
      CopyTextToClipboard(viewer, value);
      return 0;
    }
  }
  return m.Default();
}

LRESULT OnLeftButtonUp(const Message& m, Viewer viewer) {
  const LRESULT result = m.Default();
  // A plain click gives the focus back, so that the list keys keep working.
  if (NothingSelected(m.window) && viewer != nullptr) SetFocus(viewer);
  return result;
}

LRESULT OnRightButtonDown(const Message& m, Viewer) {
  // The caret goes to the clicked line, so that "Copy line value" copies it;
  // a selection stays, so that "Copy" copies it.
  if (NothingSelected(m.window)) {
    const LONG index = DetailsCharFromPos(m.window, m.Point());
    if (index >= 0) SendMessageW(m.window, EM_SETSEL, static_cast<WPARAM>(index), index);
  }
  return 0;
}

LRESULT OnRightButtonUp(const Message& m, Viewer viewer) {
  if (viewer == nullptr || ContextMenuOpen()) return 0;
  POINT screen = m.Point();
  ClientToScreen(m.window, &screen);
  PostMenuRequest(viewer, WM_DETAILS_CONTEXT_MENU, screen);
  return 0;
}

LRESULT OnContextMenu(const Message& m, Viewer viewer) {
  // The mouse's requests arrive as WM_RBUTTONUP; only the keyboard's come here.
  if (viewer == nullptr || ContextMenuOpen() || static_cast<DWORD>(m.lParam) != 0xFFFFFFFFu)
    return 0;
  POINT screen{};
  GetCursorPos(&screen);
  PostMenuRequest(viewer, WM_DETAILS_CONTEXT_MENU, screen);
  return 0;
}

LRESULT OnMouseWheel(const Message& m, Viewer viewer) {
  // The view never scrolls itself: the whole details column does.
  return viewer != nullptr ? SendMessageW(viewer, m.id, m.wParam, m.lParam) : 0;
}

// What a user, the host or a screen reader does that may scroll the view's
// own text: keys, a selection dragged past its edge, caret and scroll requests.
bool MayScrollText(UINT message) {
  switch (message) {
    case WM_KEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_MOUSEMOVE:
    case WM_TIMER:
    case WM_VSCROLL:
    case EM_SCROLLCARET:
    case EM_LINESCROLL:
    case EM_SCROLL:
      return true;
    default:
      return false;
  }
}

constexpr MessageHandler<Viewer> kHandlers[] = {
    {WM_KEYDOWN, OnKey},
    {WM_CHAR, OnKey},
    {WM_SYSKEYDOWN, OnKey},
    {WM_LBUTTONUP, OnLeftButtonUp},
    {WM_RBUTTONDOWN, OnRightButtonDown},
    {WM_RBUTTONUP, OnRightButtonUp},
    {WM_CONTEXTMENU, OnContextMenu},
    {WM_MOUSEWHEEL, OnMouseWheel},
};

}  // namespace

LRESULT CALLBACK DetailsSubclassProc(HWND view, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR, DWORD_PTR) {
  return GuardedCall(
      [&] {
        const HWND parent = GetParent(view);
        const HWND viewer = IsWindow(parent) ? parent : nullptr;
        const bool watched = MayScrollText(message);
        const int before = watched ? DetailsTextScroll(view) : 0;
        const LRESULT result =
            Dispatch(kHandlers, Message{view, message, wParam, lParam, DefSubclassProc}, viewer);
        // The column's scroll bar follows what the view scrolled by itself.
        if (watched && viewer != nullptr && DetailsTextScroll(view) != before)
          SendMessageW(viewer, WM_DETAILS_SCROLLED, 0, 0);
        return result;
      },
      LRESULT{0});
}

}  // namespace kontaktel
