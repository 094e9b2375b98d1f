#include "view/details_scroll.h"

#include <algorithm>

#include "view/layout.h"
#include "view/theme.h"
#include "view/wheel_lines.h"

namespace kontaktel {

namespace {

constexpr int kLineStep = 30;   // 96-DPI pixels
constexpr int kWheelStep = 40;  // 96-DPI pixels per notch at 3 lines per notch

// The furthest offset the details scroll bar allows; 0 without one.
int MaxScroll(const ViewerState& state) {
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE | SIF_PAGE;
  if (!IsWindow(state.details.scrollBar.Get()) ||
      !GetScrollInfo(state.details.scrollBar.Get(), SB_CTL, &info)) {
    return 0;
  }
  return std::max(0, info.nMax - static_cast<int>(info.nPage) + 1);
}

void ScrollTo(HWND window, ViewerState& state, int64_t offset, int maxScroll) {
  state.details.scroll =
      static_cast<int>(std::clamp<int64_t>(offset, 0, std::max(0, maxScroll)));
  RelayoutViewer(window);
  InvalidateRect(window, nullptr, FALSE);
  if (IsWindow(state.photo.pane.Get())) InvalidateRect(state.photo.pane.Get(), nullptr, FALSE);
}

// What SB_PAGEUP and SB_PAGEDOWN move: half the window less its gaps.
int PageStep(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  int page = client.bottom - client.top - 2 * ScaleForDpi(window, 12);
  if (page <= 50) page = 50;
  return std::max(1, page / 2);
}

}  // namespace

void OnDetailsScroll(HWND window, ViewerState& state, int code) {
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_TRACKPOS;
  if (!GetScrollInfo(state.details.scrollBar.Get(), SB_CTL, &info)) return;
  const int maxPos = MaxScroll(state);
  int offset = state.details.scroll;
  switch (code) {
    case SB_LINEUP:
      offset -= ScaleForDpi(window, kLineStep);
      break;
    case SB_LINEDOWN:
      offset += ScaleForDpi(window, kLineStep);
      break;
    case SB_PAGEUP:
      offset -= PageStep(window);
      break;
    case SB_PAGEDOWN:
      offset += PageStep(window);
      break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
      offset = info.nTrackPos;
      break;
    case SB_TOP:
      offset = 0;
      break;
    case SB_BOTTOM:
      offset = maxPos;
      break;
    default:
      break;
  }
  ScrollTo(window, state, offset, maxPos);
}

bool OnDetailsWheel(HWND window, ViewerState& state, POINT client, int delta) {
  if (PtInRect(&state.list.listRect, client)) return false;
  RECT area{};
  GetClientRect(window, &area);
  const int listPane =
      ListPaneWidth(area.right - area.left, state.splitter.listWidth, WindowDpi(window));
  if (client.x <= listPane) return true;  // outside the rows but left of the details: nothing moves
  const WheelRate rate =
      WheelRateFor(WheelScrollLines(), ScaleForDpi(window, kWheelStep), PageStep(window));
  const int64_t pixels = state.wheel.Take(kWheelOverDetails, delta, rate);
  if (pixels != 0) ScrollTo(window, state, state.details.scroll - pixels, MaxScroll(state));
  return true;
}

}  // namespace kontaktel
