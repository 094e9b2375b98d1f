#include "view/viewer_window.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <string>

#include "config/settings.h"
#include "config/ui_language.h"
#include "photo/gdiplus_bitmap.h"
#include "view/contact_list.h"
#include "view/details_extent.h"
#include "view/details_pane.h"
#include "view/details_subclass.h"
#include "view/dpi_change.h"
#include "view/filter_bar.h"
#include "view/host_context.h"
#include "view/host_frame.h"
#include "view/layout.h"
#include "view/photo_download.h"
#include "view/photo_pane.h"
#include "view/shown_photo.h"
#include "view/shown_card.h"
#include "view/status_line.h"
#include "view/theme.h"
#include "view/viewer_module.h"
#include "win/fallback_caption.h"
#include "win/fallback_text.h"

namespace kontaktel {

namespace {

constexpr int kPhotoPaneId = 1001;
constexpr UINT_PTR kFilterSubclassId = 1;
constexpr UINT_PTR kCheckSubclassId = 2;

HMENU ControlId(int id) {
  return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
}

HWND CreateChild(HWND viewer, DWORD exStyle, const wchar_t* className, const wchar_t* text,
                 DWORD style, int width, int height, int id, void* createParam = nullptr) {
  return CreateWindowExW(exStyle, className, text, style, 0, 0, width, height, viewer,
                         ControlId(id), ModuleHandle(), createParam);
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
  SendMessageW(tooltip, TTM_SETMAXTIPWIDTH, 0, ScaleForDpi(viewer, 400));
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
    DrawCaptionWithFallback(check);  // the camera mark
  }
  const int scrollWidth = ScrollBarWidth(viewer);
  list.scrollBar.Reset(CreateChild(viewer, 0, L"SCROLLBAR", L"", WS_CHILD | WS_VISIBLE | SBS_VERT,
                                   scrollWidth, 100, 0));
  state.details.scrollBar.Reset(CreateChild(viewer, 0, L"SCROLLBAR", L"",
                                            WS_CHILD | WS_VISIBLE | SBS_VERT, scrollWidth, 100, 0));
  // The pane paints the photo that the state holds.
  state.photo.pane.Reset(CreateChild(viewer, 0, kPhotoPaneClassName, L"", WS_CHILD | WS_VISIBLE, 0,
                                     0, kPhotoPaneId, &state.photo.image));
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

// What the layout depends on, for a client area of width x height.
LayoutInput LayoutInputFor(const ViewerState& state, int width, int height) {
  LayoutInput input;
  input.clientWidth = width;
  input.clientHeight = height;
  input.dpi = WindowDpi(state.window);
  input.listWidth = state.splitter.listWidth;
  input.scrollBarWidth = ScrollBarWidth(state.window);
  input.hasPhoto = static_cast<bool>(state.photo.image);
  const SIZE photo = BitmapSize(state.photo.image.Get());
  input.photoWidth = photo.cx;
  input.photoHeight = photo.cy;
  input.detailsScroll = state.details.scroll;
  return input;
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

LRESULT OnCreate(HWND window) {
  ViewerState& state = AttachUserData(window, std::make_unique<ViewerState>(window));
  AddLiveViewer(window);
  RegisterPhotoTarget(window);  // photo workers may post to it from now on
  CreateViewerFonts(window, state.fonts);
  ApplySettings(state);
  INITCOMMONCONTROLSEX controls{sizeof controls, 0xFF};
  InitCommonControlsEx(&controls);
  CreateControls(window, state);
  ApplyTheme(state);
  // In a panel the focus stays in the host's file list until the user clicks here.
  if (!IsInPanel(window)) SetFocus(window);
  return 0;
}

void OnDestroy(HWND window) {
  ViewerState* state = WindowUserData<ViewerState>(window);
  if (state == nullptr) return;
  state->accessible.Disconnect();              // a reader may still hold the list
  InvalidatePhotoFetches(state->photo.fetch);  // downloads still running are stale now
  DiscardQueuedPhotoResults(window);
  DestroyControls(*state);
  DetachUserData<ViewerState>(window);  // the state goes, with the photo and the fonts
  RemoveLiveViewer(window);
}

void LayoutViewer(ViewerState& state, int width, int height) {
  AdoptWindowDpi(state.window, state);
  state.list.rowHeight = 0;
  // An empty client area (before the host sizes the window, or minimised)
  // shows nothing: the children keep their sizes, so that nothing is laid out
  // or wrapped at width 0.
  if (width <= 0 || height <= 0) return;
  RefitPhotoToDpi(state);
  const LayoutInput input = LayoutInputFor(state, width, height);
  const HWND view = state.details.view.Get();
  DetailsExtent& extent = state.details.extent;
  const ViewerLayout layout =
      ComputeLayout(input, [&extent, view](int w) { return DetailsHeight(extent, view, w); });

  MoveChild(state.list.filterEdit.Get(), layout.filterEdit);
  MoveChild(state.list.photoOnlyCheck.Get(), layout.photoOnlyCheck);
  MoveChild(state.list.scrollBar.Get(), layout.listScrollBar);
  state.details.scroll = layout.detailsScroll;
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
  InvalidateRect(state.window, nullptr, FALSE);
  if (IsWindow(pane)) InvalidateRect(pane, nullptr, FALSE);
}

void PaintViewer(HWND window, ViewerState* state, HDC dc) {
  RECT client{};
  GetClientRect(window, &client);
  FillRect(dc, &client, BackgroundBrush());
  if (state == nullptr) return;
  const Palette& palette = CurrentPalette();
  const auto s = [window](int length) { return ScaleForDpi(window, length); };
  // The list column as the layout places it; the details need no measuring here.
  const ViewerLayout layout = ComputeLayout(
      LayoutInputFor(*state, client.right - client.left, client.bottom - client.top), nullptr);
  const int list = layout.listPaneWidth, statusHeight = layout.statusHeight;
  const int topHeight = layout.topHeight, listHeight = layout.listHeight;

  const RECT filterStrip{client.left, client.top, client.left + list, client.top + topHeight};
  FillRect(dc, &filterStrip, PanelBrush());
  DrawContactList(*state, dc,
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
    const std::wstring status = ViewerStatusText(*state);
    strip.left += s(6);
    strip.right -= s(6);
    DrawFallbackText(dc, status, strip, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
  }
}

void AttachCards(ViewerState& state, CardSet cards, FileBytes source) {
  state.cards = std::move(cards);
  state.source = std::move(source);
  state.cardsStamp = NextCardsStamp();
  state.photo.cache.Clear();  // addresses are remembered for one file
  ApplySettings(state);
  // A new file is shown through the filter already typed, from the top.
  AttachCardsToFilter(state.cards, state.filter);
  state.list.topRow = 0;
  state.details.scroll = 0;
  ShowSelectedCard(state);
  InvalidateRect(state.window, nullptr, FALSE);
  RelayoutViewer(state.window);
}

void CloseHostWindow(HWND window) {
  for (HWND current = window; current != nullptr; current = GetParent(current)) {
    wchar_t className[64] = {};
    GetClassNameW(current, className, 64);
    if (lstrcmpiW(className, kViewerClassName) == 0) {
      // A panel's parent is the host's own window: closing it would pull the
      // panel from under the host, which has already seen the key.
      if (IsInPanel(current)) return;
      const HWND lister = GetParent(current);
      PostMessageW(lister, WM_KEYDOWN, VK_ESCAPE, 0);
      PostMessageW(lister, WM_CLOSE, 0, 0);
      return;
    }
  }
}

}  // namespace kontaktel
