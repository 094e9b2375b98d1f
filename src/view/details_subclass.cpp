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
#include "view/viewer_window.h"

namespace kontaktel {

namespace {

struct DetailsMessage {
  HWND view;
  UINT id;
  WPARAM wParam;
  LPARAM lParam;
  LRESULT Default() const { return DefSubclassProc(view, id, wParam, lParam); }
  // The viewer window, or null when the view has lost it.
  HWND Viewer() const {
    const HWND parent = GetParent(view);
    return IsWindow(parent) ? parent : nullptr;
  }
};

bool NothingSelected(HWND view) {
  const CHARRANGE selection = DetailsSelection(view);
  return selection.cpMax <= selection.cpMin;
}

// WM_KEYDOWN, WM_CHAR, WM_SYSKEYDOWN.
LRESULT OnKey(const DetailsMessage& m) {
  if (m.wParam == VK_ESCAPE) {
    CloseHostWindow(m.view);
    return 0;
  }
  // With a selection the control copies it itself; without one the line's value.
  if (m.id == WM_KEYDOWN && m.wParam == 'C' && GetKeyState(VK_CONTROL) < 0 &&
      NothingSelected(m.view)) {
    if (const std::wstring value = DetailsLineValue(m.view); !value.empty()) {
      CopyTextToClipboard(m.Viewer(), value);
      return 0;
    }
  }
  return m.Default();
}

LRESULT OnLeftButtonUp(const DetailsMessage& m) {
  const LRESULT result = m.Default();
  // A plain click gives the focus back, so that the list keys keep working.
  if (NothingSelected(m.view)) {
    if (const HWND viewer = m.Viewer()) SetFocus(viewer);
  }
  return result;
}

LRESULT OnRightButtonDown(const DetailsMessage& m) {
  // The caret goes to the clicked line, so that "Copy line value" copies it;
  // a selection stays, so that "Copy" copies it.
  if (NothingSelected(m.view)) {
    const LONG index =
        DetailsCharFromPos(m.view, POINT{GET_X_LPARAM(m.lParam), GET_Y_LPARAM(m.lParam)});
    if (index >= 0) SendMessageW(m.view, EM_SETSEL, static_cast<WPARAM>(index), index);
  }
  return 0;
}

LRESULT OnRightButtonUp(const DetailsMessage& m) {
  const HWND viewer = m.Viewer();
  if (viewer == nullptr || ContextMenuOpen()) return 0;
  POINT screen{GET_X_LPARAM(m.lParam), GET_Y_LPARAM(m.lParam)};
  ClientToScreen(m.view, &screen);
  PostMenuRequest(viewer, WM_DETAILS_CONTEXT_MENU, screen);
  return 0;
}

LRESULT OnContextMenu(const DetailsMessage& m) {
  const HWND viewer = m.Viewer();
  // The mouse's requests arrive as WM_RBUTTONUP; only the keyboard's come here.
  if (viewer == nullptr || ContextMenuOpen() || static_cast<DWORD>(m.lParam) != 0xFFFFFFFFu)
    return 0;
  POINT screen{};
  GetCursorPos(&screen);
  PostMenuRequest(viewer, WM_DETAILS_CONTEXT_MENU, screen);
  return 0;
}

LRESULT OnMouseWheel(const DetailsMessage& m) {
  // The wheel scrolls the whole details column, never the view alone.
  const HWND viewer = m.Viewer();
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

struct Route {
  UINT message;
  LRESULT (*handle)(const DetailsMessage&);
};

constexpr Route kRoutes[] = {
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
  // Exceptions must not unwind through the control's message dispatch.
  try {
    const DetailsMessage m{view, message, wParam, lParam};
    const bool watched = MayScrollText(message);
    const int before = watched ? DetailsTextScroll(view) : 0;
    const Route* route = std::find_if(std::begin(kRoutes), std::end(kRoutes),
                                      [message](const Route& r) { return r.message == message; });
    const LRESULT result = route != std::end(kRoutes) ? route->handle(m) : m.Default();
    // The column's scroll bar follows what the view scrolled by itself.
    if (watched && DetailsTextScroll(view) != before) {
      if (const HWND viewer = m.Viewer()) SendMessageW(viewer, WM_DETAILS_SCROLLED, 0, 0);
    }
    return result;
  } catch (...) {
    return 0;
  }
}

}  // namespace kontaktel
