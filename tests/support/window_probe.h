// Reading back what the viewer's windows show and what they left on the
// clipboard, as a user or the host would see it.
#pragma once

#include <windows.h>
// These need the types of windows.h.
#include <commctrl.h>

#include <optional>
#include <string>
#include <vector>

namespace kontaktel::test {

// What a program pasting Unicode text would get; none when there is no such text.
inline std::optional<std::wstring> ClipboardText() {
  if (!OpenClipboard(nullptr)) return std::nullopt;
  std::optional<std::wstring> text;
  if (const HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = chars;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

// A child's rectangle in its parent's client coordinates.
inline RECT ChildRect(HWND child) {
  RECT rect{};
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

inline std::vector<HWND> ScrollBars(HWND viewer) {
  std::vector<HWND> bars;
  for (HWND child = GetWindow(viewer, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t name[32] = {};
    GetClassNameW(child, name, 32);
    if (lstrcmpiW(name, L"SCROLLBAR") == 0) bars.push_back(child);
  }
  return bars;
}

// The colour at a point of what the window paints, printed into a bitmap.
inline COLORREF PrintedPixel(HWND window, int x, int y) {
  RECT client{};
  GetClientRect(window, &client);
  const HDC screen = GetDC(window);
  const HDC memory = CreateCompatibleDC(screen);
  const HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
  const HGDIOBJ old = SelectObject(memory, bitmap);
  SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
  const COLORREF color = GetPixel(memory, x, y);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(window, screen);
  return color;
}

struct TooltipSearch {
  HWND viewer, found;
};

// EnumThreadWindows' callback: a __stdcall function, which a lambda is not on
// 32-bit Windows.
inline BOOL CALLBACK FindViewerTooltip(HWND window, LPARAM data) {
  auto* s = reinterpret_cast<TooltipSearch*>(data);
  wchar_t name[32] = {};
  GetClassNameW(window, name, 32);
  if (lstrcmpiW(name, TOOLTIPS_CLASSW) != 0) return TRUE;
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = s->viewer;
  tool.uId = 1;
  if (!SendMessageW(window, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool))) return TRUE;
  s->found = window;
  return FALSE;
}

// The tooltip whose tool 1 is the viewer (a top-level window of the thread).
inline HWND ViewerTooltip(HWND viewer) {
  TooltipSearch search{viewer, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), FindViewerTooltip, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace kontaktel::test
