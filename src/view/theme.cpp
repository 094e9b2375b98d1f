#include "view/theme.h"

#include <dwmapi.h>
#include <uxtheme.h>

#include <string>

#include "config/host_ini.h"
#include "config/settings.h"
#include "view/host_context.h"
#include "view/palette_choice.h"

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

HBRUSH SystemWindowBrush() {
  return reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
}

}  // namespace

const Palette& CurrentPalette() {
  return palette;
}
bool DarkModeActive() {
  return darkModeActive;
}

void LoadColors() {
  const HostContext& host = Host();
  const std::wstring darkSetting = ReadDarkSetting(host.iniPath);
  // The host's background is read only while it can decide.
  const bool needBackColor =
      darkSetting.empty() || (darkSetting[0] != L'0' && darkSetting[0] != L'1');
  const std::wstring backColor =
      needBackColor && host.hostDark < 0 ? ReadHostBackColor(host.iniPath) : std::wstring();
  FillPalette(ChooseDarkPalette(darkSetting, host.hostDark, backColor));
}

void ReleasePaletteBrushes() {
  palette.backgroundBrush.Reset();
  palette.panelBrush.Reset();
}

HBRUSH BackgroundBrush() {
  return palette.backgroundBrush ? palette.backgroundBrush.Get() : SystemWindowBrush();
}
HBRUSH PanelBrush() {
  return palette.panelBrush ? palette.panelBrush.Get() : SystemWindowBrush();
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

void ApplyTheme(const ViewerState& state) {
  const HWND check = state.list.photoOnlyCheck.Get();
  if (IsWindow(check)) {
    // Without its visual style the check box takes the colours the viewer gives it.
    if (darkModeActive) {
      SetWindowTheme(check, L"", L"");
    } else {
      SetWindowTheme(check, nullptr, nullptr);
    }
    InvalidateRect(check, nullptr, TRUE);
  }
  ApplyDarkFrame(state.list.scrollBar.Get());
  ApplyDarkFrame(state.details.scrollBar.Get());
}

LRESULT ControlColors(HDC dc, bool photoOnlyCheck) {
  SetTextColor(dc, palette.text);
  SetBkMode(dc, OPAQUE);
  if (photoOnlyCheck && darkModeActive) {
    SetBkColor(dc, palette.panel);
    return reinterpret_cast<LRESULT>(palette.panelBrush
                                         ? palette.panelBrush.Get()
                                         : static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  }
  SetBkColor(dc, palette.background);
  return reinterpret_cast<LRESULT>(BackgroundBrush());
}

int ScaleForDpi(HWND window, int length) {
  return ScaleLength(length, WindowDpi(window));
}

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
