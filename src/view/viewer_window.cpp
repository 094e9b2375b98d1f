// The viewer window's life: creation with its child controls, destruction,
// the cards it is handed, the selection, layout and painting.
#include "view/viewer_window.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "config/settings.h"
#include "config/ui_language.h"
#include "photo/gdiplus_bitmap.h"
#include "view/contact_list.h"
#include "view/details_extent.h"
#include "view/details_pane.h"
#include "view/details_subclass.h"
#include "view/host_context.h"
#include "view/layout.h"
#include "view/photo_download.h"
#include "view/photo_pane.h"
#include "view/shown_photo.h"
#include "view/shown_card.h"
#include "view/theme.h"
#include "view/viewer_state.h"
#include "view/viewer_window_internal.h"

namespace kontaktel {

namespace {

constexpr int kPhotoPaneId = 1001;
constexpr UINT_PTR kFilterSubclassId = 1;
constexpr UINT_PTR kCheckSubclassId = 2;

bool viewClassRegistered = false;
// The windows whose state exists: a palette or language change reaches them all.
std::vector<HWND> liveViewers;

HMENU ControlId(int id) {
  return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
}

HWND CreateChild(HWND viewer, DWORD exStyle, const wchar_t* className, const wchar_t* text,
                 DWORD style, int width, int height, int id) {
  return CreateWindowExW(exStyle, className, text, style, 0, 0, width, height, viewer,
                         ControlId(id), ModuleHandle(), nullptr);
}

void CreateTooltip(HWND viewer, ListPart& list) {
  list.tooltip.Reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                     WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                     CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, viewer, nullptr,
                                     ModuleHandle(), nullptr));
  const HWND tooltip = list.tooltip.Get();
  if (tooltip == nullptr) return;
  SetWindowPos(tooltip, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_SUBCLASS | TTF_TRANSPARENT;
  tool.hwnd = viewer;
  tool.uId = 1;
  GetClientRect(viewer, &tool.rect);
  tool.lpszText = const_cast<wchar_t*>(L"");
  SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  SendMessageW(tooltip, TTM_SETMAXTIPWIDTH, 0, 400);
  SendMessageW(tooltip, TTM_SETDELAYTIME, TTDT_INITIAL, 400);
}

void CreateControls(HWND viewer, ViewerState& state) {
  const bool russian = UiIsRussian();
  const HFONT small = state.fonts.small.Get();
  CreateTooltip(viewer, state.list);

  ListPart& list = state.list;
  list.filterEdit.Reset(CreateChild(viewer, WS_EX_CLIENTEDGE, L"EDIT", L"",
                                    WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 0, 0, kFilterEditId));
  if (const HWND edit = list.filterEdit.Get()) {
    SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(small), FALSE);
    // Shown also while the box has the focus.
    SendMessageW(edit, EM_SETCUEBANNER, TRUE,
                 reinterpret_cast<LPARAM>(russian ? L"\x0424\x0438\x043B\x044C\x0442\x0440..."
                                                  : L"Filter..."));
    SetWindowSubclass(edit, EditSubclassProc, kFilterSubclassId,
                      reinterpret_cast<DWORD_PTR>(viewer));
  }
  list.photoOnlyCheck.Reset(
      CreateChild(viewer, 0, L"BUTTON",
                  russian ? L"\xD83D\xDCF7 \x0444\x043E\x0442\x043E" : L"\xD83D\xDCF7 photo",
                  WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 0, 0, kPhotoOnlyCheckId));
  if (const HWND check = list.photoOnlyCheck.Get()) {
    SendMessageW(check, WM_SETFONT, reinterpret_cast<WPARAM>(small), FALSE);
    SetWindowSubclass(check, EditSubclassProc, kCheckSubclassId,
                      reinterpret_cast<DWORD_PTR>(viewer));
  }
  const int scrollWidth = GetSystemMetrics(SM_CXVSCROLL);
  list.scrollBar.Reset(CreateChild(viewer, 0, L"SCROLLBAR", L"", WS_CHILD | WS_VISIBLE | SBS_VERT,
                                   scrollWidth, 100, 0));
  state.details.scrollBar.Reset(CreateChild(viewer, 0, L"SCROLLBAR", L"",
                                            WS_CHILD | WS_VISIBLE | SBS_VERT, scrollWidth, 100, 0));
  state.photo.pane.Reset(
      CreateChild(viewer, 0, kPhotoPaneClassName, L"", WS_CHILD | WS_VISIBLE, 0, 0, kPhotoPaneId));
  state.details.view = CreateDetailsView(viewer, state.fonts.main.Get());
  if (const HWND view = state.details.view.Get())
    SetWindowSubclass(view, DetailsSubclassProc, kDetailsSubclassId, 0);
}

void DestroyControls(ViewerState& state) {
  if (IsWindow(state.details.view.Get()))
    RemoveWindowSubclass(state.details.view.Get(), DetailsSubclassProc, kDetailsSubclassId);
  state.details.view.Reset();
  state.photo.pane.Reset();
  state.list.scrollBar.Reset();
  state.details.scrollBar.Reset();
  if (IsWindow(state.list.filterEdit.Get()))
    RemoveWindowSubclass(state.list.filterEdit.Get(), EditSubclassProc, kFilterSubclassId);
  state.list.filterEdit.Reset();
  if (IsWindow(state.list.photoOnlyCheck.Get()))
    RemoveWindowSubclass(state.list.photoOnlyCheck.Get(), EditSubclassProc, kCheckSubclassId);
  state.list.photoOnlyCheck.Reset();
  state.list.tooltip.Reset();
}

}  // namespace

void ApplySettings(ViewerState& state) {
  const ViewerSettings settings = ReadViewerSettings(Host().iniPath);
  state.splitter.listWidth = settings.listWidth;
  state.photo.loadPhotoUrl = settings.loadPhotoUrl;
}

namespace {

void FillColor(HDC dc, const RECT& rect, COLORREF color) {
  const UniqueBrush brush(CreateSolidBrush(color));
  FillRect(dc, &rect, brush.Get());
}

// A child is moved only when its place changes: a resized rich edit wraps its
// whole text again.
void MoveChild(HWND child, const RECT& rect) {
  if (!IsWindow(child)) return;
  RECT now{};
  GetWindowRect(child, &now);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&now), 2);
  if (EqualRect(&now, &rect)) return;
  MoveWindow(child, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
}

}  // namespace

ViewerState* GetViewerState(HWND window) {
  // A handle from the host may name any window: only ours carry a state.
  if (window == nullptr || !IsWindow(window)) return nullptr;
  wchar_t className[64] = {};
  if (GetClassNameW(window, className, 64) == 0 || lstrcmpiW(className, kViewerClassName) != 0)
    return nullptr;
  if (reinterpret_cast<HINSTANCE>(GetClassLongPtrW(window, GCLP_HMODULE)) != ModuleHandle())
    return nullptr;
  return reinterpret_cast<ViewerState*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

LRESULT OnCreate(HWND window) {
  auto* state = new ViewerState(window);
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
  liveViewers.push_back(window);
  RegisterPhotoTarget(window);  // photo workers may post to it from now on
  state->fonts.main = CreateUiFont(window, 14);
  state->fonts.small = CreateUiFont(window, 12);
  AddGdiplusUser();
  ChooseLanguageAndColors();
  EnsurePhotoPaneClassRegistered();
  ApplySettings(*state);
  INITCOMMONCONTROLSEX controls{sizeof controls, 0xFF};
  InitCommonControlsEx(&controls);
  CreateControls(window, *state);
  ApplyTheme(window);
  SetFocus(window);
  return 0;
}

LRESULT OnDestroy(HWND window) {
  ViewerState* state = GetViewerState(window);
  if (state == nullptr) return 0;
  InvalidatePhotoFetches(state->photo.fetch);  // downloads still running are stale now
  DiscardQueuedPhotoResults(window);
  DestroyControls(*state);
  delete state;  // releases the photo and the fonts
  SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  std::erase(liveViewers, window);
  if (liveViewers.empty()) {
    ReleasePaletteBrushes();
    ReleaseRichEditLibrary();
  }
  ReleaseGdiplusUser();
  return 0;
}

// What the layout depends on, for a client area of width x height.
LayoutInput LayoutInputFor(HWND window, const ViewerState& state, int width, int height) {
  LayoutInput input;
  input.clientWidth = width;
  input.clientHeight = height;
  input.dpi = WindowDpi(window);
  input.listWidth = state.splitter.listWidth;
  input.scrollBarWidth = GetSystemMetrics(SM_CXVSCROLL);
  input.hasPhoto = state.photo.image != nullptr;
  const SIZE photo = BitmapSize(state.photo.image.get());
  input.photoWidth = photo.cx;
  input.photoHeight = photo.cy;
  input.detailsScroll = state.filter.detailsScroll;
  return input;
}

void LayoutViewer(HWND window, ViewerState& state, int width, int height) {
  state.list.rowHeight = 0;
  // An empty client area (before the host sizes the window, or minimised)
  // shows nothing: the children keep their sizes, so that nothing is laid out
  // or wrapped at width 0.
  if (width <= 0 || height <= 0) return;
  RefitPhotoToDpi(state);
  const LayoutInput input = LayoutInputFor(window, state, width, height);
  const HWND view = state.details.view.Get();
  DetailsExtent& extent = state.details.extent;
  const ViewerLayout layout =
      ComputeLayout(input, [&extent, view](int w) { return DetailsHeight(extent, view, w); });

  MoveChild(state.list.filterEdit.Get(), layout.filterEdit);
  MoveChild(state.list.photoOnlyCheck.Get(), layout.photoOnlyCheck);
  MoveChild(state.list.scrollBar.Get(), layout.listScrollBar);
  state.filter.detailsScroll = layout.detailsScroll;
  const HWND bar = state.details.scrollBar.Get();
  MoveChild(bar, layout.detailsScrollBar);
  const HWND pane = state.photo.pane.Get();
  if (IsWindow(pane)) {
    const bool shown = layout.photoPane.bottom > layout.photoPane.top;
    MoveChild(pane, layout.photoPane);
    ShowWindow(pane, shown ? SW_SHOWNA : SW_HIDE);
  }
  MoveChild(view, layout.detailsView);
  ScrollDetailsText(view, layout.detailsTextScroll);
  extent.textTop = layout.detailsTextTop;
  extent.scrollsItself = layout.detailsScrollsItself;
  FitDetailsTabStop(extent, view);
  if (IsWindow(bar)) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    info.nMin = 0;
    info.nMax = std::max(0, layout.contentHeight - 1);
    info.nPage = static_cast<UINT>(std::max(layout.pageHeight, 1));
    info.nPos = layout.detailsScroll;
    SetScrollInfo(bar, SB_CTL, &info, TRUE);
    ShowWindow(bar, layout.maxScroll > 0 ? SW_SHOWNA : SW_HIDE);
  }
  InvalidateRect(window, nullptr, FALSE);
  if (IsWindow(pane)) InvalidateRect(pane, nullptr, FALSE);
}

void PaintViewer(HWND window, HDC dc) {
  RECT client{};
  GetClientRect(window, &client);
  FillRect(dc, &client, BackgroundBrush());
  ViewerState* state = GetViewerState(window);
  if (state == nullptr) return;
  const Palette& palette = CurrentPalette();
  const auto s = [window](int length) { return ScaleForDpi(window, length); };
  // The list column as the layout places it; the details need no measuring here.
  const ViewerLayout layout = ComputeLayout(
      LayoutInputFor(window, *state, client.right - client.left, client.bottom - client.top),
      nullptr);
  const int list = layout.listPaneWidth, statusHeight = layout.statusHeight;
  const int topHeight = layout.topHeight, listHeight = layout.listHeight;

  const RECT filterStrip{client.left, client.top, client.left + list, client.top + topHeight};
  FillRect(dc, &filterStrip, PanelBrush());
  DrawContactList(window, *state, dc,
                  RECT{client.left, client.top + topHeight, client.left + list,
                       client.top + topHeight + listHeight});
  const int splitterWidth = std::max(s(3), 2);
  FillColor(dc,
            RECT{list - splitterWidth / 2, client.top, list + splitterWidth / 2 + 1, client.bottom},
            palette.splitter);
  if (statusHeight >= 1) {
    RECT strip{client.left, client.bottom - statusHeight, client.left + list, client.bottom};
    FillRect(dc, &strip, PanelBrush());
    SelectScope font(dc, state->fonts.small.Get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, palette.secondaryText);
    const std::wstring status = StatusText(state->cards.size(), state->filter, UiIsRussian());
    strip.left += s(6);
    strip.right -= s(6);
    DrawTextW(dc, status.c_str(), -1, &strip,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
}

void EnsureViewerClassRegistered() {
  if (viewClassRegistered) return;
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = ViewerWndProc;
  windowClass.hInstance = ModuleHandle();
  windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
  windowClass.lpszClassName = kViewerClassName;
  viewClassRegistered = RegisterClassW(&windowClass) != 0;
}

bool ViewerClassRegistered() {
  return viewClassRegistered;
}

int LiveViewerCount() {
  return static_cast<int>(liveViewers.size());
}

void ReleaseViewerModule() {
  if (!liveViewers.empty()) return;
  ReleasePaletteBrushes();
  ShutdownGdiplus();
  if (viewClassRegistered) UnregisterClassW(kViewerClassName, ModuleHandle());
  viewClassRegistered = false;
  UnregisterPhotoPaneClass();
}

void AttachCards(HWND window, CardSet cards) {
  ViewerState* state = GetViewerState(window);
  if (state == nullptr) return;
  state->cards = std::move(cards);
  state->cardsStamp = NextCardsStamp();
  state->photo.cache.Clear();  // addresses are remembered for one file
  ApplySettings(*state);
  // A new file is shown through the filter already typed.
  AttachCardsToFilter(state->cards, state->filter);
  ShowSelectedCard(*state);
  InvalidateRect(window, nullptr, FALSE);
  RelayoutViewer(window);
}

void SelectCard(HWND window, size_t index) {
  ViewerState* state = GetViewerState(window);
  if (state == nullptr || state->cards.empty()) return;
  state->filter.selected = std::min(index, state->cards.size() - 1);
  state->filter.detailsScroll = 0;
  EnsureSelectionVisible(*state);
  UpdateMatchOrdinal(state->filter);
  ShowSelectedCard(*state);
  SetListScrollPosition(*state);
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

void ChooseLanguageAndColors() {
  UpdateUiLanguage(Host().iniPath);
  LoadColors();
}

void ReloadAppearance() {
  const auto appearance = [] {
    const Palette& palette = CurrentPalette();
    return std::array<COLORREF, 5>{palette.text, palette.background, palette.secondaryText,
                                   static_cast<COLORREF>(DarkModeActive()),
                                   static_cast<COLORREF>(UiIsRussian())};
  };
  const auto before = appearance();
  ChooseLanguageAndColors();
  // Refilling a long card's details is the costly part: only a change of
  // palette or language needs it.
  const bool changed = appearance() != before;
  for (const HWND window : std::vector<HWND>(liveViewers)) {
    ViewerState* state = GetViewerState(window);
    if (state == nullptr) continue;
    ApplyTheme(window);
    if (changed) RefillDetails(*state);
    RelayoutViewer(window);
    InvalidateRect(window, nullptr, TRUE);
  }
}

void RelayoutViewer(HWND window) {
  if (!IsWindow(window)) return;
  RECT client{};
  GetClientRect(window, &client);
  SendMessageW(window, WM_SIZE, 0,
               MAKELPARAM(client.right - client.left, client.bottom - client.top));
}

}  // namespace kontaktel
