// The table from message to handler. The window's state comes from its
// user-data slot: every message here is for a window of this class.
#include "view/window_proc.h"

#include "view/card_loading.h"
#include "view/contact_list.h"
#include "view/context_menu.h"
#include "view/details_extent.h"
#include "view/details_scroll.h"
#include "view/filter_bar.h"
#include "view/host_context.h"
#include "view/list_accessible.h"
#include "view/photo_download.h"
#include "view/shown_card.h"
#include "view/splitter.h"
#include "view/theme.h"
#include "view/viewer_module.h"
#include "view/viewer_window.h"
#include "win/gdi_handles.h"
#include "win/guarded_call.h"
#include "win/message_table.h"

#ifndef WM_DPICHANGED_AFTERPARENT
#define WM_DPICHANGED_AFTERPARENT 0x02E3
#endif

namespace kontaktel {

namespace {

// Each handler gets the window's state, null for a window without one.
using State = ViewerState*;

LRESULT OnCreateMessage(const Message& m, State) {
  return OnCreate(m.window);
}

LRESULT OnDestroyMessage(const Message& m, State state) {
  if (state != nullptr) AbandonCardLoading(*state);  // its worker ends at its next step
  OnDestroy(m.window);
  return 0;
}

LRESULT OnSize(const Message& m, State state) {
  if (state == nullptr) return m.Default();
  LayoutViewer(*state, LOWORD(m.lParam), HIWORD(m.lParam));
  return 0;
}

LRESULT OnPaint(const Message& m, State state) {
  PaintScope paint(m.window);
  RECT client{};
  GetClientRect(m.window, &client);
  const int width = client.right - client.left, height = client.bottom - client.top;
  if (width <= 0 || height <= 0) return 0;
  // Painted off screen and copied in one block, so nothing flickers.
  UniqueMemoryDc memory(CreateCompatibleDC(paint.Dc()));
  UniqueBitmap bitmap(CreateCompatibleBitmap(paint.Dc(), width, height));
  if (!memory || !bitmap) {
    PaintViewer(m.window, state, paint.Dc());
    return 0;
  }
  SelectScope selected(memory.Get(), bitmap.Get());
  PaintViewer(m.window, state, memory.Get());
  BitBlt(paint.Dc(), 0, 0, width, height, memory.Get(), 0, 0, SRCCOPY);
  return 0;
}

LRESULT OnPrintClient(const Message& m, State state) {
  PaintViewer(m.window, state, reinterpret_cast<HDC>(m.wParam));
  return 0;
}

LRESULT OnEraseBackground(const Message& m, State) {
  RECT client{};
  GetClientRect(m.window, &client);
  FillRect(reinterpret_cast<HDC>(m.wParam), &client, BackgroundBrush());
  return 1;
}

LRESULT OnSystemChange(const Message& m, State state) {
  // Settings, system colours or the theme changed: everything is read anew.
  ReloadAppearance();
  if (state != nullptr) {
    ApplySettings(*state);
    ShowSelectedCard(*state);
    InvalidateRect(m.window, nullptr, FALSE);
  }
  return 0;
}

LRESULT OnAppearanceChanged(const Message& m, State state) {
  if (state == nullptr) return 0;
  ApplyTheme(*state);
  if (m.wParam != 0) RefillDetails(*state);
  RelayoutViewer(m.window);
  InvalidateRect(m.window, nullptr, TRUE);
  return 0;
}

LRESULT OnSetCursor(const Message& m, State state) {
  if (state != nullptr && LOWORD(m.lParam) == HTCLIENT && OnSplitterSetCursor(m.window, *state))
    return TRUE;
  return m.Default();
}

LRESULT OnMouseActivate(const Message& m, State state) {
  if (state == nullptr) return m.Default();
  SetFocus(m.window);
  return MA_ACTIVATE;
}

LRESULT OnGetDlgCode(const Message&, State) {
  return DLGC_WANTARROWS | DLGC_WANTALLKEYS | DLGC_WANTCHARS;
}

// Also the keys that the filter strip and the details view pass on.
LRESULT OnKeyDown(const Message& m, State state) {
  if (m.wParam == VK_ESCAPE) {
    CloseHostWindow(m.window);
    return 0;
  }
  if (state == nullptr) return 0;
  if (m.wParam == 'C' && (GetKeyState(VK_CONTROL) & 0x8000) != 0) {
    OnCopyKey(m.window, *state);
    return 0;
  }
  if (state->cards.empty()) return 0;
  return NavigateList(*state, m.wParam) ? 0 : m.Default();
}

LRESULT OnCommand(const Message& m, State state) {
  if (state == nullptr) return m.Default();
  const int id = LOWORD(m.wParam), code = HIWORD(m.wParam);
  if (id == kFilterEditId && code == EN_CHANGE &&
      reinterpret_cast<HWND>(m.lParam) == state->list.filterEdit.Get()) {
    OnFilterChanged(m.window, *state);
    return 0;
  }
  if (id == kPhotoOnlyCheckId && code == BN_CLICKED &&
      reinterpret_cast<HWND>(m.lParam) == state->list.photoOnlyCheck.Get()) {
    OnPhotoOnlyClicked(m.window, *state);
    return 0;
  }
  return m.Default();
}

LRESULT OnVScroll(const Message& m, State state) {
  if (state == nullptr || m.lParam == 0) return m.Default();
  const auto bar = reinterpret_cast<HWND>(m.lParam);
  if (bar == state->list.scrollBar.Get()) {
    OnListScroll(m.window, *state, m.wParam);
    return 0;
  }
  if (bar == state->details.scrollBar.Get()) {
    OnDetailsScroll(m.window, *state, LOWORD(m.wParam));
    return 0;
  }
  return m.Default();
}

LRESULT OnControlColor(const Message& m, State state) {
  const auto control = reinterpret_cast<HWND>(m.lParam);
  return ControlColors(reinterpret_cast<HDC>(m.wParam),
                       state != nullptr && control == state->list.photoOnlyCheck.Get());
}

LRESULT OnMouseMove(const Message& m, State state) {
  if (state == nullptr) return m.Default();
  if (!OnSplitterMouseMove(m.window, *state, m.Point()))
    OnListMouseMove(m.window, *state, m.Point());
  return 0;
}

LRESULT OnLButtonDown(const Message& m, State state) {
  if (state == nullptr) return m.Default();
  if (OnSplitterButtonDown(m.window, *state, m.Point()) ||
      OnListButtonDown(m.window, *state, m.Point())) {
    return 0;
  }
  return m.Default();
}

LRESULT OnLButtonUp(const Message& m, State state) {
  if (state != nullptr && OnSplitterButtonUp(m.window, *state)) return 0;
  return m.Default();
}

LRESULT OnCaptureChanged(const Message& m, State state) {
  if (state != nullptr) OnSplitterCaptureLost(*state);
  return m.Default();
}

LRESULT OnMenuMessage(const Message& m, State state) {
  if (state != nullptr && OnContextMenuMessage(m.window, *state, m.id, m.wParam, m.lParam))
    return 0;
  return m.Default();
}

LRESULT OnMouseWheel(const Message& m, State state) {
  if (state == nullptr) return m.Default();
  POINT point = m.Point();
  ScreenToClient(m.window, &point);
  const int delta = GET_WHEEL_DELTA_WPARAM(m.wParam);
  if (OnListWheel(m.window, *state, point, delta)) return 0;
  OnDetailsWheel(m.window, *state, point, delta);
  return 0;
}

// The host's window moved to a monitor of another scale. The layout notices
// the new DPI itself; this message may come after the host's WM_SIZE.
LRESULT OnDpiChangedAfterParent(const Message& m, State state) {
  if (state != nullptr) RelayoutViewer(m.window);
  return 0;
}

LRESULT OnDetailsScrolled(const Message& m, State state) {
  if (state != nullptr) OnDetailsTextScrolled(m.window, *state);
  return 0;
}

LRESULT OnPhotoLoadedMessage(const Message& m, State state) {
  return OnPhotoLoaded(m.window, state, m.lParam);
}

LRESULT OnCardsLoadedMessage(const Message& m, State state) {
  if (state != nullptr) OnCardsLoaded(*state, m.wParam);
  return 0;
}

LRESULT OnGetObjectMessage(const Message& m, State state) {
  const LRESULT answer = state != nullptr ? OnGetObject(*state, m.wParam, m.lParam) : 0;
  return answer != 0 ? answer : m.Default();
}

constexpr MessageHandler<State> kHandlers[] = {
    {WM_CREATE, OnCreateMessage},
    {WM_DESTROY, OnDestroyMessage},
    {WM_SIZE, OnSize},
    {WM_PAINT, OnPaint},
    {WM_PRINTCLIENT, OnPrintClient},
    {WM_ERASEBKGND, OnEraseBackground},
    {WM_SYSCOLORCHANGE, OnSystemChange},
    {WM_SETTINGCHANGE, OnSystemChange},
    {WM_THEMECHANGED, OnSystemChange},
    {WM_APPEARANCE_CHANGED, OnAppearanceChanged},
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
    {WM_CARDS_LOADED, OnCardsLoadedMessage},
    {WM_DPICHANGED_AFTERPARENT, OnDpiChangedAfterParent},
    {WM_GETOBJECT, OnGetObjectMessage},
    {WM_DETAILS_SCROLLED, OnDetailsScrolled},
};

}  // namespace

LRESULT CALLBACK ViewerWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // A failed creation fails CreateWindowEx; any other message answers 0.
  return GuardedCall(
      [&] {
        ViewerState* state = WindowUserData<ViewerState>(window);
        const size_t selected = state != nullptr ? state->filter.selected : 0;
        const LRESULT result = Dispatch(
            kHandlers, Message{window, message, wParam, lParam, DefWindowProcW}, state);
        // Whatever moved the selection (keys, clicks, menus), a screen reader
        // hears the new card; the state is gone after WM_DESTROY.
        if (message != WM_DESTROY && message != WM_NCDESTROY && state != nullptr &&
            state->filter.selected != selected) {
          NotifySelectionMoved(*state);
        }
        return result;
      },
      message == WM_CREATE ? -1 : 0);
}

HWND CreateViewerWindow(HWND parent) {
  RegisterViewerClass(ViewerWndProc);
  return CreateWindowExW(0, kViewerClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0,
                         0, parent, nullptr, ModuleHandle(), nullptr);
}

}  // namespace kontaktel
