#include "view/contact_list.h"

#include <commctrl.h>

#include <algorithm>
#include <string_view>

#include "config/ui_language.h"
#include "present/card_accessors.h"
#include "present/email.h"
#include "view/layout.h"
#include "view/list_navigation.h"
#include "view/shown_card.h"
#include "view/theme.h"
#include "view/wheel_lines.h"
#include "view/wheel_steps.h"
#include "win/fallback_text.h"
#include "win/gdi_handles.h"

namespace kontaktel {

namespace {

constexpr wchar_t kEmptyCardEn[] = L"(empty card)";
constexpr wchar_t kEmptyCardRu[] = L"(пустая карточка)";
constexpr wchar_t kCameraMark[] = L" \U0001F4F7";
// Names from this length on do not fit in a row and get a tooltip.
constexpr size_t kTooltipMinLength = 28;
constexpr UINT_PTR kTooltipToolId = 1;

std::wstring NameOrEmptyCard(const Card& card, bool russian) {
  std::wstring name = CardDisplayName(card);
  if (name.empty()) name = russian ? kEmptyCardRu : kEmptyCardEn;
  return name;
}

// Search matches are tinted apart from the selection, in both palettes.
COLORREF SearchMatchColor() {
  return DarkModeActive() ? RGB(48, 60, 40) : RGB(255, 249, 196);
}

COLORREF ShadeColor(RowShade shade, const Palette& colors) {
  switch (shade) {
    case RowShade::kSelected:
      return colors.selection;
    case RowShade::kSearchMatch:
      return SearchMatchColor();
    case RowShade::kPlain:
      break;
  }
  return colors.panel;
}

void FillColor(HDC dc, const RECT& rect, COLORREF color) {
  const UniqueBrush brush(CreateSolidBrush(color));
  FillRect(dc, &rect, brush.Get());
}

// One row in its band: background, separator, the name (wrapped onto a second
// line where the row has room, else cut with an ellipsis) and the detail line
// right under the name.
void DrawRow(HDC dc, const ViewerState& state, const ListRow& row, const RECT& band, int dpi) {
  const auto s = [dpi](int length) { return ScaleLength(length, dpi); };
  const Palette& colors = CurrentPalette();
  FillColor(dc, band, ShadeColor(row.shade, colors));
  {
    const UniquePen pen(CreatePen(PS_SOLID, 1, colors.separator));
    SelectScope selectedPen(dc, pen.Get());
    MoveToEx(dc, band.left, band.bottom, nullptr);
    LineTo(dc, band.right, band.bottom);
  }
  RECT nameRect{band.left + s(8), band.top + s(4), band.right - s(4), band.bottom - s(18)};
  int nameBottom = nameRect.bottom;
  {
    SelectScope font(dc, state.fonts.main.Get());
    SetTextColor(dc, colors.text);
    RECT measured = nameRect;
    DrawFallbackText(dc, row.name, measured, DT_CALCRECT | DT_WORDBREAK);
    nameBottom = std::min<int>(nameRect.bottom, measured.bottom);
    DrawFallbackText(dc, row.name, nameRect, DT_WORDBREAK | DT_END_ELLIPSIS);
  }
  if (row.detail.empty()) return;
  SelectScope font(dc, state.fonts.small.Get());
  SetTextColor(dc, colors.secondaryText);
  RECT detailRect{band.left + s(8), nameBottom + s(2), band.right - s(4), band.bottom - s(2)};
  DrawTextW(dc, row.detail.c_str(), static_cast<int>(row.detail.size()), &detailRect,
            DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

int32_t RowCount(const ViewerState& state) {
  return static_cast<int32_t>(std::min<size_t>(state.filter.visibleIndices.size(), INT32_MAX));
}

int RowHeightOrDefault(const ViewerState& state, int dpi) {
  return state.list.rowHeight > 0 ? state.list.rowHeight : ScaleLength(60, dpi);
}

void MoveScrollThumb(const ViewerState& state) {
  const HWND bar = state.list.scrollBar.Get();
  if (!IsWindow(bar)) return;
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_POS;
  if (GetScrollInfo(bar, SB_CTL, &info) && info.nPos == state.list.topRow) return;
  info.nPos = state.list.topRow;
  SetScrollInfo(bar, SB_CTL, &info, FALSE);
  InvalidateRect(bar, nullptr, FALSE);
}

// Paints run far more often than the list's range or position change, and a
// scroll bar told to redraw paints itself at once: it is told only changes,
// and repaints with the rest of the window.
void UpdateScrollBar(const ViewerState& state) {
  const HWND bar = state.list.scrollBar.Get();
  if (!IsWindow(bar)) return;
  const int32_t n = RowCount(state);
  SCROLLINFO wanted{};
  wanted.cbSize = sizeof wanted;
  wanted.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  wanted.nMin = 0;
  wanted.nMax = std::max<int32_t>(0, n - 1);
  wanted.nPage = static_cast<UINT>(std::max<int32_t>(1, state.list.rowsPerPage));
  wanted.nPos = std::min<int32_t>(MaxTopRow(n, state.list.rowsPerPage), state.list.topRow);
  SCROLLINFO current{};
  current.cbSize = sizeof current;
  current.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  if (!GetScrollInfo(bar, SB_CTL, &current) || current.nMin != wanted.nMin ||
      current.nMax != wanted.nMax || current.nPage != wanted.nPage || current.nPos != wanted.nPos) {
    SetScrollInfo(bar, SB_CTL, &wanted, FALSE);
    InvalidateRect(bar, nullptr, FALSE);
  }
  const bool show = n > state.list.rowsPerPage;
  if ((IsWindowVisible(bar) != FALSE) != show) ShowWindow(bar, show ? SW_SHOWNA : SW_HIDE);
}

// The page row drawn under a point, or nothing.
std::optional<int32_t> PageRowUnder(const ViewerState& state, POINT point) {
  const RECT area = ListRowsArea(state);
  if (point.x < area.left || point.x >= area.right) return std::nullopt;
  if (point.y < area.top || point.y >= area.bottom) return std::nullopt;
  const int dpi = WindowDpi(state.window);
  return PageRowAt(point.y - area.top, ScaleLength(8, dpi), RowHeightOrDefault(state, dpi),
                   state.list.rowsPerPage, state.list.topRow, RowCount(state));
}

// Sets the first row drawn, the scroll bar's position and repaints.
void SetTopRow(HWND window, ViewerState& state, int32_t topRow) {
  if (topRow != state.list.topRow) {
    state.list.topRow = topRow;
    InvalidateRect(window, nullptr, FALSE);
  }
  MoveScrollThumb(state);
}

}  // namespace

bool CardHasPhoto(const Card& card) {
  return card.hasPhotoData() || !card.photoUrl().empty();
}

std::wstring ListRowName(const Card& card, bool russian) {
  std::wstring name = NameOrEmptyCard(card, russian);
  if (CardHasPhoto(card)) name += kCameraMark;
  return name;
}

std::wstring ListRowDetail(const Card& card, bool russian) {
  if (std::wstring phone = FirstPhone(card); !phone.empty()) return L"Tel: " + phone;
  if (std::wstring email = FirstEmail(card); !email.empty()) return L"Email: " + email;
  if (const std::wstring_view kind = card.kind(); !kind.empty()) {
    return (russian ? L"Тип: " : L"Kind: ") + std::wstring(kind);
  }
  if (std::wstring found = FallbackEmail(card); !found.empty()) return L"Email: " + found;
  return {};
}

std::wstring ListTooltipText(const Card& card, bool russian) {
  std::wstring name = NameOrEmptyCard(card, russian);
  if (name.size() < kTooltipMinLength) name.clear();
  return name;
}

std::vector<ListRow> ComposeListPage(const CardSet& cards, const FilterState& filter,
                                     int32_t topRow, int32_t rowsPerPage, bool russian) {
  std::vector<ListRow> rows;
  const int64_t n = static_cast<int64_t>(filter.visibleIndices.size());
  const int64_t top = std::max<int64_t>(0, topRow);
  for (int64_t i = 0; i < rowsPerPage && top + i < n; ++i) {
    const uint64_t card = filter.visibleIndices[static_cast<size_t>(top + i)];
    if (card >= cards.size()) continue;
    ListRow row;
    row.card = card;
    row.name = ListRowName(cards[card], russian);
    row.detail = ListRowDetail(cards[card], russian);
    if (card == filter.selected) {
      row.shade = RowShade::kSelected;
    } else if (card < filter.matchFlags.size() && filter.matchFlags[card] == 1) {
      row.shade = RowShade::kSearchMatch;
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

int32_t SelectedRow(const FilterState& filter) {
  // The visible list is in file order: the selection is found by halving.
  const auto& rows = filter.visibleIndices;
  const auto at = std::lower_bound(rows.begin(), rows.end(), filter.selected);
  if (at == rows.end() || *at != filter.selected) return -1;
  return static_cast<int32_t>(at - rows.begin());
}

RECT ListRowsArea(int clientWidth, int clientHeight, int listWidth, int dpi) {
  // The same layout that places the controls and the painting; nothing of the
  // details column is measured for it.
  LayoutInput input;
  input.clientWidth = clientWidth;
  input.clientHeight = clientHeight;
  input.dpi = dpi;
  input.listWidth = listWidth;
  const ViewerLayout layout = ComputeLayout(input, nullptr);
  return RECT{0, layout.topHeight, layout.listPaneWidth, layout.topHeight + layout.listHeight};
}

RECT ListRowsArea(const ViewerState& state) {
  RECT client{};
  GetClientRect(state.window, &client);
  return ListRowsArea(client.right, client.bottom, state.splitter.listWidth,
                      WindowDpi(state.window));
}

void DrawContactList(ViewerState& state, HDC dc, const RECT& area) {
  const int dpi = WindowDpi(state.window);
  if (state.list.rowHeight <= 0) state.list.rowHeight = ScaleLength(60, dpi);
  const int width = area.right - area.left, height = std::max<int>(0, area.bottom - area.top);
  const int scrollWidth = ScrollBarWidth(state.window);
  // A very narrow list gives up the room of its scroll bar and paints under it.
  const int rowWidth = width - scrollWidth < ScaleLength(120, dpi) ? width : width - scrollWidth;
  FillColor(dc, RECT{area.left, area.top, area.left + rowWidth, area.top + height},
            CurrentPalette().panel);

  const int pad = ScaleLength(8, dpi);
  const int32_t n = RowCount(state);
  state.list.rowsPerPage = RowsPerPage(height, pad, state.list.rowHeight);
  state.list.topRow = ClampTopRow(state.list.topRow, n, state.list.rowsPerPage);

  const std::vector<ListRow> rows = ComposeListPage(state.cards, state.filter, state.list.topRow,
                                                    state.list.rowsPerPage, UiIsRussian());
  const int gap = ScaleLength(2, dpi);
  int rowY = area.top + pad;
  SetBkMode(dc, TRANSPARENT);
  for (const ListRow& row : rows) {
    const RECT band{area.left + pad, rowY, area.left - pad + rowWidth,
                    rowY + state.list.rowHeight - gap};
    DrawRow(dc, state, row, band, dpi);
    rowY += state.list.rowHeight;
  }
  state.list.listRect = RECT{area.left, area.top, area.left + rowWidth, area.top + height};
  UpdateScrollBar(state);
}

void EnsureSelectionVisible(ViewerState& state) {
  const int dpi = WindowDpi(state.window);
  const RECT area = ListRowsArea(state);
  state.list.rowsPerPage =
      RowsPerPage(area.bottom - area.top, ScaleLength(8, dpi), RowHeightOrDefault(state, dpi));
  state.list.topRow = EnsureSelectionVisible(state.list.topRow, SelectedRow(state.filter),
                                             RowCount(state), state.list.rowsPerPage);
}

void SelectCard(ViewerState& state, size_t index) {
  if (state.cards.empty()) return;
  state.filter.selected = std::min(index, state.cards.size() - 1);
  state.details.scroll = 0;
  EnsureSelectionVisible(state);
  UpdateMatchOrdinal(state.filter);
  ShowSelectedCard(state);
  MoveScrollThumb(state);
  InvalidateRect(state.window, nullptr, FALSE);
}

bool NavigateList(ViewerState& state, WPARAM key) {
  if (state.cards.empty()) return false;
  const std::optional<int32_t> target = NavigateList(
      static_cast<UINT>(key), SelectedRow(state.filter), RowCount(state), state.list.rowsPerPage);
  if (!target) return false;
  const uint64_t card = state.filter.visibleIndices[static_cast<size_t>(*target)];
  if (card >= state.cards.size()) return false;
  SelectCard(state, static_cast<size_t>(card));
  return true;
}

bool OnListButtonDown(HWND window, ViewerState& state, POINT client) {
  const RECT area = ListRowsArea(state);
  if (client.y < area.top || client.y >= area.bottom) return false;
  SetFocus(window);
  if (const std::optional<uint64_t> card = ListCardAt(state, client)) {
    SelectCard(state, static_cast<size_t>(*card));
  }
  return true;
}

bool OnListWheel(HWND window, ViewerState& state, POINT client, int delta) {
  if (!PtInRect(&state.list.listRect, client)) return false;
  // A page per notch is the scroll bar's page step.
  const WheelRate rate =
      WheelRateFor(WheelScrollLines(), 1, std::max<int32_t>(1, state.list.rowsPerPage - 1));
  const int64_t rows = state.wheel.Take(kWheelOverList, delta, rate);
  SetTopRow(window, state,
            WheelListTop(rows, state.list.topRow, RowCount(state), state.list.rowsPerPage));
  return true;
}

void OnListScroll(HWND window, ViewerState& state, WPARAM wParam) {
  const int32_t n = RowCount(state);
  if (n < 1) return;
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_TRACKPOS;
  GetScrollInfo(state.list.scrollBar.Get(), SB_CTL, &info);
  SetTopRow(
      window, state,
      ScrollListTop(LOWORD(wParam), state.list.topRow, info.nTrackPos, n, state.list.rowsPerPage));
}

void OnListMouseMove(HWND window, ViewerState& state, POINT client) {
  const HWND tooltip = state.list.tooltip.Get();
  if (!IsWindow(tooltip)) return;
  int card = -1;
  std::wstring text;
  if (const std::optional<uint64_t> under = ListCardAt(state, client)) {
    card = static_cast<int>(*under);
    text = ListTooltipText(state.cards[*under], UiIsRussian());
  }
  if (card == state.list.tooltipCard) return;
  state.list.tooltipCard = card;
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = window;
  tool.uId = kTooltipToolId;
  tool.lpszText = text.data();
  SendMessageW(tooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
  if (!text.empty()) {
    tool.rect = state.list.listRect;
    SendMessageW(tooltip, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

std::optional<uint64_t> ListCardAt(const ViewerState& state, POINT client) {
  const std::optional<int32_t> row = PageRowUnder(state, client);
  if (!row) return std::nullopt;
  const uint64_t card = state.filter.visibleIndices[static_cast<size_t>(state.list.topRow + *row)];
  if (card >= state.cards.size()) return std::nullopt;
  return card;
}

}  // namespace kontaktel
