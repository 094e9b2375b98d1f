#include "view/theme.h"

#include <dwmapi.h>
#include <uxtheme.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "config/settings.h"
#include "plugin/plugin_globals.h"
#include "view/viewer_state.h"

namespace kontaktel {

namespace {

Palette palette{};
bool darkModeActive = false;

void FillPalette(bool dark) {
  darkModeActive = dark;
  palette.text = dark ? RGB(220, 220, 220) : RGB(30, 30, 30);
  palette.background = dark ? RGB(32, 32, 32) : RGB(255, 255, 255);
  palette.panel = dark ? RGB(28, 28, 28) : RGB(248, 248, 248);
  palette.secondaryText = dark ? RGB(160, 160, 160) : RGB(110, 110, 110);
  palette.separator = dark ? RGB(64, 64, 64) : RGB(220, 220, 220);
  palette.splitter = dark ? RGB(70, 70, 70) : RGB(200, 200, 200);
  palette.selection = dark ? RGB(60, 80, 120) : RGB(219, 234, 254);
  palette.backgroundBrush.Reset(CreateSolidBrush(palette.background));
  palette.panelBrush.Reset(CreateSolidBrush(palette.panel));
}

// Before the host has passed show flags, its configured viewer background tells.
bool HostBackgroundIsDark(const std::wstring& ini) {
  wchar_t value[64] = {};
  GetPrivateProfileStringW(L"Lister", L"BackColor", L"", value, 64, ini.c_str());
  if (value[0] == L'\0') GetPrivateProfileStringW(L"Colors", L"BackColor", L"", value, 64, ini.c_str());
  if (value[0] == L'\0') return false;
  return IsDarkColorText(value);
}

}  // namespace

const Palette& CurrentPalette() { return palette; }
bool DarkModeActive() { return darkModeActive; }

bool IsDarkColorText(const wchar_t* text) {
  int red = 0, green = 0, blue = 0;
  if (std::swscanf(text, L"%d,%d,%d", &red, &green, &blue) != 3) {
    const long value = std::wcstol(text, nullptr, 10);
    if (value == 0 && text[0] != L'0') return false;  // not a colour
    red = static_cast<int>(value & 0xFF);
    green = static_cast<int>((value >> 8) & 0xFF);
    blue = static_cast<int>((value >> 16) & 0xFF);
  }
  return 0.299 * red + 0.587 * green + 0.114 * blue < 128.0;
}

void LoadColors() {
  const std::wstring& ini = Globals().iniPath;
  if (!ini.empty()) {
    wchar_t dark[16] = {};
    GetPrivateProfileStringW(L"Kontaktel", L"Dark", L"2", dark, 16, ini.c_str());
    if (dark[0] == L'0' || dark[0] == L'1') {
      SetUiIsRussian(ChooseUiLanguage());
      FillPalette(dark[0] == L'1');
      return;
    }
  }
  SetUiIsRussian(ChooseUiLanguage());
  const int hostDark = Globals().hostDark;
  if (hostDark >= 0) {
    FillPalette(hostDark == 1);
  } else {
    FillPalette(!ini.empty() && HostBackgroundIsDark(ini));
  }
}

void ReleasePaletteBrushes() {
  palette.backgroundBrush.Reset();
  palette.panelBrush.Reset();
}

HBRUSH BackgroundBrush() {
  return palette.backgroundBrush ? palette.backgroundBrush.Get()
                                 : reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
}

void ApplyDarkFrame(HWND control) {
  if (!IsWindow(control)) return;
  // The attribute's number changed during Windows 10; older builds know 19.
  BOOL dark = darkModeActive ? TRUE : FALSE;
  if (FAILED(DwmSetWindowAttribute(control, 20, &dark, sizeof dark))) {
    DwmSetWindowAttribute(control, 19, &dark, sizeof dark);
  }
  SetWindowTheme(control, darkModeActive ? L"DarkMode_Explorer" : nullptr, nullptr);
  RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

void ApplyTheme(HWND viewer) {
  if (!IsWindow(viewer)) return;
  const ViewerState* state = GetViewerState(viewer);
  if (state == nullptr) return;
  if (IsWindow(state->photoOnlyCheck)) {
    // Without its visual style the check box takes the colours the viewer gives it.
    if (darkModeActive) {
      SetWindowTheme(state->photoOnlyCheck, L"", L"");
    } else {
      SetWindowTheme(state->photoOnlyCheck, nullptr, nullptr);
    }
    InvalidateRect(state->photoOnlyCheck, nullptr, TRUE);
  }
  ApplyDarkFrame(state->listScrollBar);
  ApplyDarkFrame(state->detailsScrollBar);
}

int WindowDpi(HWND window) {
  WindowDc dc(window);
  if (dc.Get() == nullptr) return 96;
  const int dpi = GetDeviceCaps(dc.Get(), LOGPIXELSX);
  return dpi > 0 ? dpi : 96;
}

int ScaleForDpi(HWND window, int length) { return MulDiv(length, WindowDpi(window), 96); }

UniqueFont CreateUiFont(HWND window, int size) {
  LOGFONTW font{};
  font.lfHeight = -ScaleForDpi(window, size);
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfQuality = CLEARTYPE_NATURAL_QUALITY;
  wcscpy_s(font.lfFaceName, L"Segoe UI");
  return UniqueFont(CreateFontIndirectW(&font));
}

}  // namespace kontaktel
