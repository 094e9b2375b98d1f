// Colours, DPI scaling and fonts shared by every viewer window.
#pragma once

#include <windows.h>

#include "view/dpi.h"
#include "view/viewer_state.h"
#include "win/gdi_handles.h"

namespace kontaktel {

struct Palette {
  COLORREF text;
  COLORREF background;
  COLORREF panel;
  COLORREF secondaryText;
  COLORREF separator;
  COLORREF splitter;
  COLORREF selection;
  UniqueBrush backgroundBrush;
  UniqueBrush panelBrush;
};

const Palette& CurrentPalette();
bool DarkModeActive();

// Decides light or dark from the "Dark" key, the host's show flags or the
// host's own background colour, and recreates the two shared brushes.
void LoadColors();

// Deletes the shared brushes: when the last viewer closes and at module end.
void ReleasePaletteBrushes();

// The shared brushes, or the system window brush when they do not exist.
HBRUSH BackgroundBrush();
HBRUSH PanelBrush();

// Themes the photo-only check box and the scroll bars of one viewer window.
void ApplyTheme(const ViewerState& state);
void ApplyDarkFrame(HWND control);

// The viewer's answer to WM_CTLCOLOR* from one of its controls; the check box
// has colours of its own in the dark palette.
LRESULT ControlColors(HDC dc, bool photoOnlyCheck);

// Lengths are written for 96 DPI and scaled at use, to the window's own DPI.
inline int ScaleLength(int length, int dpi) {
  return MulDiv(length, dpi, 96);
}
int ScaleForDpi(HWND window, int length);

// The UI font at a character height of `size` pixels at 96 DPI.
UniqueFont CreateUiFont(HWND window, int size);

}  // namespace kontaktel
