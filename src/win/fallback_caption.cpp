// Paints the caption after every message that may have painted the button:
// Wine's button draws straight to the screen on check, press and focus changes,
// besides its WM_PAINT.
#include "win/fallback_caption.h"

#include <commctrl.h>
#include <uxtheme.h>
#include <vsstyle.h>

#include <algorithm>
#include <string>

#include "win/fallback_text.h"
#include "win/gdi_handles.h"
#include "win/guarded_call.h"

namespace kontaktel {

namespace {

constexpr UINT_PTR kCaptionSubclassId = 0x4B43;  // "KC"

// The width of the box the button draws left of its caption.
int BoxWidth(HWND button, HDC dc) {
  if (const HTHEME theme = OpenThemeData(button, L"BUTTON")) {
    SIZE size{};
    const HRESULT result =
        GetThemePartSize(theme, dc, BP_CHECKBOX, CBS_UNCHECKEDNORMAL, nullptr, TS_DRAW, &size);
    CloseThemeData(theme);
    if (SUCCEEDED(result) && size.cx > 0) return size.cx;
  }
  return MulDiv(12, GetDeviceCaps(dc, LOGPIXELSX), 96) + 1;
}

void PaintCaption(HWND button, HDC dc) {
  RECT client{};
  GetClientRect(button, &client);
  const auto font = reinterpret_cast<HFONT>(SendMessageW(button, WM_GETFONT, 0, 0));
  SelectScope selected(dc, font);
  // The colours and the brush the parent gives the button itself.
  auto brush = reinterpret_cast<HBRUSH>(
      SendMessageW(GetParent(button), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                   reinterpret_cast<LPARAM>(button)));
  if (brush == nullptr) brush = GetSysColorBrush(COLOR_BTNFACE);
  if (!IsWindowEnabled(button)) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  RECT caption{client.left + BoxWidth(button, dc), client.top, client.right, client.bottom};
  FillRect(dc, &caption, brush);
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(button)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(button, text.data(), static_cast<int>(text.size()))));
  SIZE zero{};
  GetTextExtentPoint32W(dc, L"0", 1, &zero);
  caption.left += zero.cx / 2 + 1;
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  RECT measured = caption;
  DrawFallbackText(dc, text, caption, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
  SetBkMode(dc, oldMode);
  const bool focused = (SendMessageW(button, BM_GETSTATE, 0, 0) & BST_FOCUS) != 0;
  if (focused && (SendMessageW(button, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) == 0) {
    DrawFallbackText(dc, text, measured, DT_SINGLELINE | DT_CALCRECT);
    const int height = measured.bottom - measured.top;
    RECT focus{caption.left - 1, (client.bottom - height) / 2 - 1,
               std::min(measured.right + 1, client.right), (client.bottom + height) / 2 + 1};
    DrawFocusRect(dc, &focus);
  }
}

// What the button looks like, to tell whether a message changed it.
LRESULT Look(HWND button) {
  return (SendMessageW(button, BM_GETSTATE, 0, 0) &
          (BST_CHECKED | BST_INDETERMINATE | BST_PUSHED | BST_FOCUS | BST_HOT)) |
         (IsWindowEnabled(button) ? 0x10000 : 0);
}

LRESULT CALLBACK CaptionSubclassProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR, DWORD_PTR) {
  return GuardedCall(
      [&]() -> LRESULT {
        switch (message) {
          case WM_NCDESTROY:
            RemoveWindowSubclass(button, CaptionSubclassProc, kCaptionSubclassId);
            return DefSubclassProc(button, message, wParam, lParam);
          case WM_PAINT: {
            const LRESULT result = DefSubclassProc(button, message, wParam, lParam);
            WindowDc dc(button);
            if (dc.Get() != nullptr) PaintCaption(button, dc.Get());
            return result;
          }
          case WM_PRINTCLIENT: {
            const LRESULT result = DefSubclassProc(button, message, wParam, lParam);
            PaintCaption(button, reinterpret_cast<HDC>(wParam));
            return result;
          }
          case WM_SETTEXT:
          case WM_SETFONT:
          case WM_ENABLE:
          case WM_UPDATEUISTATE:
          case BM_SETCHECK:
          case BM_SETSTATE:
          case BM_CLICK:
          case WM_SETFOCUS:
          case WM_KILLFOCUS:
          case WM_LBUTTONDOWN:
          case WM_LBUTTONUP:
          case WM_LBUTTONDBLCLK:
          case WM_KEYDOWN:
          case WM_KEYUP:
          case WM_CAPTURECHANGED:
          case WM_MOUSEMOVE:
          case WM_MOUSELEAVE: {
            const LRESULT before = Look(button);
            const LRESULT result = DefSubclassProc(button, message, wParam, lParam);
            const bool always = message == WM_SETTEXT || message == WM_SETFONT ||
                                message == WM_ENABLE || message == WM_UPDATEUISTATE;
            if (IsWindowVisible(button) && (always || Look(button) != before)) {
              WindowDc dc(button);
              if (dc.Get() != nullptr) PaintCaption(button, dc.Get());
            }
            return result;
          }
          default:
            return DefSubclassProc(button, message, wParam, lParam);
        }
      },
      LRESULT{0});
}

}  // namespace

void DrawCaptionWithFallback(HWND checkBox) {
  if (IsWindow(checkBox)) SetWindowSubclass(checkBox, CaptionSubclassProc, kCaptionSubclassId, 0);
}

}  // namespace kontaktel
