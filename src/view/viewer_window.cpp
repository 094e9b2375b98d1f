#include "view/viewer_window.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "config/settings.h"
#include "present/card_accessors.h"
#include "photo/gdiplus_bitmap.h"
#include "plugin/plugin_globals.h"
#include "view/theme.h"
#include "view/viewer_state.h"

namespace kontaktel {

namespace {

LRESULT OnCreate(HWND window) {
  auto* state = new ViewerState();
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
  ++Globals().liveViewers;
  state->mainFont = CreateUiFont(window, 14);
  state->smallFont = CreateUiFont(window, 12);
  AddGdiplusUser();
  LoadColors();
  ReadViewerSettings(state);
  ApplyTheme(window);
  SetFocus(window);
  return 0;
}

LRESULT OnDestroy(HWND window) {
  ViewerState* state = GetViewerState(window);
  if (state == nullptr) return 0;
  ++state->photoGeneration;
  for (HWND* child : {&state->detailsView, &state->photoPane, &state->listScrollBar,
                      &state->detailsScrollBar, &state->filterEdit, &state->photoOnlyCheck,
                      &state->tooltip}) {
    if (IsWindow(*child)) DestroyWindow(*child);
    *child = nullptr;
  }
  delete state;  // releases the photo and the fonts
  SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  if (--Globals().liveViewers == 0) ReleasePaletteBrushes();
  ReleaseGdiplusUser();
  return 0;
}

void FillRectColor(HDC dc, const RECT& rect, COLORREF color) {
  const UniqueBrush brush(CreateSolidBrush(color));
  FillRect(dc, &rect, brush.Get());
}

LRESULT OnPaint(HWND window) {
  PaintScope paint(window);
  RECT client{};
  GetClientRect(window, &client);
  const int width = client.right - client.left, height = client.bottom - client.top;
  if (width <= 0 || height <= 0) return 0;
  // Painted off screen and copied in one block, so nothing flickers.
  UniqueMemoryDc memory(CreateCompatibleDC(paint.Dc()));
  UniqueBitmap bitmap(CreateCompatibleBitmap(paint.Dc(), width, height));
  if (!memory || !bitmap) {
    PaintViewer(window, paint.Dc());
    return 0;
  }
  {
    SelectScope selected(memory.Get(), bitmap.Get());
    PaintViewer(window, memory.Get());
    BitBlt(paint.Dc(), 0, 0, width, height, memory.Get(), 0, 0, SRCCOPY);
  }
  return 0;
}

LRESULT OnKeyDown(HWND window, WPARAM key) {
  if (key == VK_ESCAPE) {
    CloseHostWindow(window);
    return 0;
  }
  ViewerState* state = GetViewerState(window);
  if (state == nullptr || state->cards.empty()) return 0;
  const size_t last = state->cards.size() - 1;
  switch (key) {
    case VK_UP: SelectCard(window, state->filter.selected > 0 ? state->filter.selected - 1 : 0); return 0;
    case VK_DOWN: SelectCard(window, std::min<size_t>(state->filter.selected + 1, last)); return 0;
    case VK_HOME: SelectCard(window, 0); return 0;
    case VK_END: SelectCard(window, last); return 0;
    default: return DefWindowProcW(window, WM_KEYDOWN, key, 0);
  }
}

LRESULT OnSettingsChanged(HWND window) {
  LoadColors();
  if (ViewerState* state = GetViewerState(window)) ReadViewerSettings(state);
  ApplyTheme(window);
  InvalidateRect(window, nullptr, FALSE);
  return 0;
}

void SendSize(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  SendMessageW(window, WM_SIZE, 0, MAKELPARAM(client.right - client.left, client.bottom - client.top));
}

}  // namespace

ViewerState* GetViewerState(HWND window) {
  // A handle from the host may name any window: only ours carry a state.
  if (window == nullptr || !IsWindow(window)) return nullptr;
  wchar_t className[64] = {};
  if (GetClassNameW(window, className, 64) == 0 || lstrcmpiW(className, kViewerClassName) != 0) return nullptr;
  if (reinterpret_cast<HINSTANCE>(GetClassLongPtrW(window, GCLP_HMODULE)) != ModuleHandle()) return nullptr;
  return reinterpret_cast<ViewerState*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

void PaintViewer(HWND window, HDC dc) {
  RECT client{};
  GetClientRect(window, &client);
  FillRect(dc, &client, BackgroundBrush());
  const ViewerState* state = GetViewerState(window);
  if (state == nullptr) return;
  const Palette& colors = CurrentPalette();
  const int pad = ScaleForDpi(window, 12);
  RECT header = client;
  header.bottom = header.top + ScaleForDpi(window, 40);
  FillRectColor(dc, header, colors.panel);

  SetBkMode(dc, TRANSPARENT);
  SelectScope font(dc, state->mainFont.Get());
  const bool russian = UiIsRussian();
  const std::wstring status = StatusText(state->cards.size(), state->filter, russian);
  RECT line = header;
  line.left += pad;
  line.right -= pad;
  SetTextColor(dc, colors.secondaryText);
  DrawTextW(dc, status.c_str(), -1, &line, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  if (state->cards.empty()) return;

  // Until the contact list exists, the window shows how many cards it holds
  // and the selected card's name.
  std::wstring name = CardDisplayName(state->cards[state->filter.selected]);
  if (name.empty()) name = russian ? L"(\x043F\x0443\x0441\x0442\x0430\x044F \x043A\x0430\x0440\x0442\x043E\x0447\x043A\x0430)" : L"(empty card)";
  line.top = header.bottom + pad;
  line.bottom = line.top + ScaleForDpi(window, 24);
  SetTextColor(dc, colors.text);
  DrawTextW(dc, name.c_str(), -1, &line, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
}

static LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: return OnCreate(window);
    case WM_DESTROY: return OnDestroy(window);
    case WM_SIZE:
      if (ViewerState* state = GetViewerState(window)) {
        state->rowHeight = 0;
        InvalidateRect(window, nullptr, FALSE);
        return 0;
      }
      break;
    case WM_PAINT: return OnPaint(window);
    case WM_PRINTCLIENT:
      PaintViewer(window, reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_ERASEBKGND: {
      RECT client{};
      GetClientRect(window, &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, BackgroundBrush());
      return 1;
    }
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
    case WM_THEMECHANGED: return OnSettingsChanged(window);
    case WM_MOUSEACTIVATE:
      if (GetViewerState(window) != nullptr) {
        SetFocus(window);
        return MA_ACTIVATE;
      }
      break;
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTALLKEYS | DLGC_WANTCHARS;
    case WM_KEYDOWN: return OnKeyDown(window, wParam);
    default: break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK ViewerWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // Exceptions must not unwind through the system's message dispatch.
  try {
    return HandleMessage(window, message, wParam, lParam);
  } catch (...) {
    return message == WM_CREATE ? -1 : 0;  // a failed creation fails CreateWindowEx
  }
}

void EnsureViewerClassRegistered() {
  PluginGlobals& globals = Globals();
  if (globals.viewClassRegistered) return;
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = ViewerWndProc;
  windowClass.hInstance = ModuleHandle();
  windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
  windowClass.lpszClassName = kViewerClassName;
  if (RegisterClassW(&windowClass) != 0) globals.viewClassRegistered = true;
}

void UnregisterViewerClass() {
  PluginGlobals& globals = Globals();
  if (!globals.viewClassRegistered) return;
  UnregisterClassW(kViewerClassName, ModuleHandle());
  globals.viewClassRegistered = false;
}

void AttachCards(HWND window, CardSet cards) {
  ViewerState* state = GetViewerState(window);
  if (state == nullptr) return;
  state->cards = std::move(cards);
  ReadViewerSettings(state);
  // A new file is shown through the filter already typed.
  AttachCardsToFilter(state->cards, state->filter);
  InvalidateRect(window, nullptr, FALSE);
  SendSize(window);
}

void SelectCard(HWND window, size_t index) {
  ViewerState* state = GetViewerState(window);
  if (state == nullptr || state->cards.empty()) return;
  state->filter.selected = std::min(index, state->cards.size() - 1);
  state->filter.detailsScroll = 0;
  UpdateMatchOrdinal(state->filter);
  InvalidateRect(window, nullptr, FALSE);
}

void CloseHostWindow(HWND window) {
  for (HWND current = window; current != nullptr; current = GetParent(current)) {
    wchar_t className[64] = {};
    GetClassNameW(current, className, 64);
    if (lstrcmpiW(className, kViewerClassName) == 0) {
      const HWND lister = GetParent(current);
      PostMessageW(lister, WM_KEYDOWN, VK_ESCAPE, 0);
      PostMessageW(lister, WM_CLOSE, 0, 0);
      return;
    }
  }
}

}  // namespace kontaktel
