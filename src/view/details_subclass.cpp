#include "view/details_subclass.h"

#include <commctrl.h>
#include <windowsx.h>

#include <string>

#include "view/clipboard.h"
#include "view/context_menu.h"
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
  // The view never scrolls itself: the whole details column does.
  const HWND viewer = m.Viewer();
  return viewer != nullptr ? SendMessageW(viewer, m.id, m.wParam, m.lParam) : 0;
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
    for (const Route& route : kRoutes) {
      if (route.message == message) return route.handle(m);
    }
    return m.Default();
  } catch (...) {
    return 0;
  }
}

}  // namespace kontaktel
