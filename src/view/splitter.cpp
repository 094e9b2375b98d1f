#include "view/splitter.h"

#include "config/settings.h"
#include "view/host_context.h"
#include "view/layout.h"
#include "view/theme.h"

namespace kontaktel {

namespace {

int ClientWidth(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  return client.right - client.left;
}

bool OnSplitter(HWND window, const ViewerState& state, int x) {
  const int dpi = WindowDpi(window);
  return IsOnSplitter(x, ListPaneWidth(ClientWidth(window), state.splitter.listWidth, dpi), dpi);
}

HCURSOR SizingCursor() {
  return LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_SIZEWE));
}

}  // namespace

bool OnSplitterButtonDown(HWND window, ViewerState& state, POINT client) {
  if (!OnSplitter(window, state, client.x)) return false;
  state.splitter.dragging = true;
  SetCapture(window);
  SetCursor(SizingCursor());
  SetFocus(window);
  return true;
}

bool OnSplitterMouseMove(HWND window, ViewerState& state, POINT client) {
  if (!state.splitter.dragging) return false;
  state.splitter.listWidth = ListWidthForDrag(client.x, ClientWidth(window), WindowDpi(window));
  RelayoutViewer(window);
  InvalidateRect(window, nullptr, FALSE);
  return true;
}

bool OnSplitterButtonUp(HWND, ViewerState& state) {
  if (!state.splitter.dragging) return false;
  state.splitter.dragging = false;
  ReleaseCapture();
  // Stored in 96-DPI pixels, so that the column keeps its size on any screen.
  WriteListWidth(Host().iniPath, state.splitter.listWidth);
  return true;
}

void OnSplitterCaptureLost(ViewerState& state) {
  state.splitter.dragging = false;
}

bool OnSplitterSetCursor(HWND window, ViewerState& state) {
  POINT cursor{};
  GetCursorPos(&cursor);
  ScreenToClient(window, &cursor);
  if (!state.splitter.dragging && !OnSplitter(window, state, cursor.x)) return false;
  SetCursor(SizingCursor());
  return true;
}

}  // namespace kontaktel
