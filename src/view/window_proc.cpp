// The viewer window's procedure: a table from message to named handler, and a
// guard that keeps every exception inside.
#include <windowsx.h>

#include "view/contact_list.h"
#include "view/context_menu.h"
#include "view/details_extent.h"
#include "view/details_scroll.h"
#include "view/photo_download.h"
#include "view/shown_card.h"
#include "view/splitter.h"
#include "view/theme.h"
#include "view/viewer_state.h"
#include "view/viewer_window.h"
#include "view/viewer_window_internal.h"
#include "view/window_guard.h"

namespace kontaktel {

namespace {

struct Message {
  HWND window;
  UINT id;
  WPARAM wParam;
  LPARAM lParam;
  ViewerState* state;  // null for a window without one
  LRESULT Default() const { return DefWindowProcW(window, id, wParam, lParam); }
  POINT Point() const { return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }
};

LRESULT OnCreateMessage(const Message& m) {
  return OnCreate(m.window);
}
LRESULT OnDestroyMessage(const Message& m) {
  return OnDestroy(m.window);
}

LRESULT OnSize(const Message& m) {
  if (m.state == nullptr) return m.Default();
  LayoutViewer(m.window, *m.state, LOWORD(m.lParam), HIWORD(m.lParam));
  return 0;
}

LRESULT OnPaint(const Message& m) {
  PaintScope paint(m.window);
  RECT client{};
  GetClientRect(m.window, &client);
  const int width = client.right - client.left, height = client.bottom - client.top;
  if (width <= 0 || height <= 0) return 0;
  // Painted off screen and copied in one block, so nothing flickers.
  UniqueMemoryDc memory(CreateCompatibleDC(paint.Dc()));
  UniqueBitmap bitmap(CreateCompatibleBitmap(paint.Dc(), width, height));
  if (!memory || !bitmap) {
    PaintViewer(m.window, paint.Dc());
    return 0;
  }
  SelectScope selected(memory.Get(), bitmap.Get());
  PaintViewer(m.window, memory.Get());
  BitBlt(paint.Dc(), 0, 0, width, height, memory.Get(), 0, 0, SRCCOPY);
  return 0;
}

LRESULT OnPrintClient(const Message& m) {
  PaintViewer(m.window, reinterpret_cast<HDC>(m.wParam));
  return 0;
}

LRESULT OnEraseBackground(const Message& m) {
  RECT client{};
  GetClientRect(m.window, &client);
  FillRect(reinterpret_cast<HDC>(m.wParam), &client, BackgroundBrush());
  return 1;
}

LRESULT OnSystemChange(const Message& m) {
  // Settings, system colours or the theme changed: everything is read anew.
  ReloadAppearance();
  if (m.state != nullptr) {
    ApplySettings(*m.state);
    ShowSelectedCard(*m.state);
    InvalidateRect(m.window, nullptr, FALSE);
  }
  return 0;
}

LRESULT OnSetCursor(const Message& m) {
  if (m.state != nullptr && LOWORD(m.lParam) == HTCLIENT && OnSplitterSetCursor(m.window, *m.state))
    return TRUE;
  return m.Default();
}

LRESULT OnMouseActivate(const Message& m) {
  if (m.state == nullptr) return m.Default();
  SetFocus(m.window);
  return MA_ACTIVATE;
}

LRESULT OnGetDlgCode(const Message&) {
  return DLGC_WANTARROWS | DLGC_WANTALLKEYS | DLGC_WANTCHARS;
}

LRESULT OnKeyDown(const Message& m) {
  if (m.wParam == VK_ESCAPE) {
    CloseHostWindow(m.window);
    return 0;
  }
  if (m.state == nullptr) return 0;
  if (m.wParam == 'C' && (GetKeyState(VK_CONTROL) & 0x8000) != 0) {
    OnCopyKey(m.window, *m.state);
    return 0;
  }
  if (m.state->cards.empty()) return 0;
  return NavigateList(m.window, *m.state, m.wParam) ? 0 : m.Default();
}

LRESULT OnCommand(const Message& m) {
  if (m.state == nullptr) return m.Default();
  const int id = LOWORD(m.wParam), code = HIWORD(m.wParam);
  if (id == kFilterEditId && code == EN_CHANGE &&
      reinterpret_cast<HWND>(m.lParam) == m.state->list.filterEdit.Get()) {
    OnFilterChanged(m.window, *m.state);
    return 0;
  }
  if (id == kPhotoOnlyCheckId && code == BN_CLICKED &&
      reinterpret_cast<HWND>(m.lParam) == m.state->list.photoOnlyCheck.Get()) {
    OnPhotoOnlyClicked(m.window, *m.state);
    return 0;
  }
  return m.Default();
}

LRESULT OnVScroll(const Message& m) {
  if (m.state == nullptr || m.lParam == 0) return m.Default();
  const auto bar = reinterpret_cast<HWND>(m.lParam);
  if (bar == m.state->list.scrollBar.Get()) {
    OnListScroll(m.window, *m.state, m.wParam);
    return 0;
  }
  if (bar == m.state->details.scrollBar.Get()) {
    OnDetailsScroll(m.window, *m.state, LOWORD(m.wParam));
    return 0;
  }
  return m.Default();
}

LRESULT OnControlColor(const Message& m) {
  return ControlColors(m.window, reinterpret_cast<HDC>(m.wParam), reinterpret_cast<HWND>(m.lParam));
}

LRESULT OnMouseMove(const Message& m) {
  if (m.state == nullptr) return m.Default();
  if (!OnSplitterMouseMove(m.window, *m.state, m.Point()))
    OnListMouseMove(m.window, *m.state, m.Point());
  return 0;
}

LRESULT OnLButtonDown(const Message& m) {
  if (m.state == nullptr) return m.Default();
  if (OnSplitterButtonDown(m.window, *m.state, m.Point()) ||
      OnListButtonDown(m.window, *m.state, m.Point())) {
    return 0;
  }
  return m.Default();
}

LRESULT OnLButtonUp(const Message& m) {
  if (m.state != nullptr && OnSplitterButtonUp(m.window, *m.state)) return 0;
  return m.Default();
}

LRESULT OnCaptureChanged(const Message& m) {
  if (m.state != nullptr) OnSplitterCaptureLost(*m.state);
  return m.Default();
}

LRESULT OnMenuMessage(const Message& m) {
  if (m.state != nullptr && OnContextMenuMessage(m.window, *m.state, m.id, m.wParam, m.lParam))
    return 0;
  return m.Default();
}

LRESULT OnMouseWheel(const Message& m) {
  if (m.state == nullptr) return m.Default();
  POINT point = m.Point();
  ScreenToClient(m.window, &point);
  const int delta = GET_WHEEL_DELTA_WPARAM(m.wParam);
  if (OnListWheel(m.window, *m.state, point, delta)) return 0;
  OnDetailsWheel(m.window, *m.state, point, delta);
  return 0;
}

LRESULT OnDetailsScrolled(const Message& m) {
  if (m.state != nullptr) OnDetailsTextScrolled(m.window, *m.state);
  return 0;
}

LRESULT OnPhotoLoadedMessage(const Message& m) {
  return OnPhotoLoaded(m.window, m.state, m.lParam);
}

struct Handler {
  UINT message;
  LRESULT (*handle)(const Message&);
};

constexpr Handler kHandlers[] = {
    {WM_CREATE, OnCreateMessage},
    {WM_DESTROY, OnDestroyMessage},
    {WM_SIZE, OnSize},
    {WM_PAINT, OnPaint},
    {WM_PRINTCLIENT, OnPrintClient},
    {WM_ERASEBKGND, OnEraseBackground},
    {WM_SYSCOLORCHANGE, OnSystemChange},
    {WM_SETTINGCHANGE, OnSystemChange},
    {WM_THEMECHANGED, OnSystemChange},
    {WM_SETCURSOR, OnSetCursor},
    {WM_MOUSEACTIVATE, OnMouseActivate},
    {WM_GETDLGCODE, OnGetDlgCode},
    {WM_KEYDOWN, OnKeyDown},
    {WM_COMMAND, OnCommand},
    {WM_VSCROLL, OnVScroll},
    {WM_CTLCOLOREDIT, OnControlColor},
    {WM_CTLCOLORLISTBOX, OnControlColor},
    {WM_CTLCOLORBTN, OnControlColor},
    {WM_CTLCOLORDLG, OnControlColor},
    {WM_CTLCOLORSTATIC, OnControlColor},
    {WM_MOUSEMOVE, OnMouseMove},
    {WM_LBUTTONDOWN, OnLButtonDown},
    {WM_LBUTTONUP, OnLButtonUp},
    {WM_CAPTURECHANGED, OnCaptureChanged},
    {WM_RBUTTONUP, OnMenuMessage},
    {WM_CONTEXTMENU, OnMenuMessage},
    {WM_LIST_CONTEXT_MENU, OnMenuMessage},
    {WM_DETAILS_CONTEXT_MENU, OnMenuMessage},
    {WM_MOUSEWHEEL, OnMouseWheel},
    {WM_PHOTO_LOADED, OnPhotoLoadedMessage},
    {WM_DETAILS_SCROLLED, OnDetailsScrolled},
};

LRESULT Dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  for (const Handler& handler : kHandlers) {
    if (handler.message == message) {
      return handler.handle(Message{window, message, wParam, lParam, GetViewerState(window)});
    }
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

LRESULT CALLBACK ViewerWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // A failed creation fails CreateWindowEx; any other message answers 0.
  return GuardedCall([&] { return Dispatch(window, message, wParam, lParam); },
                     message == WM_CREATE ? -1 : 0);
}

}  // namespace kontaktel
