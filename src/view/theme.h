// Colours, DPI scaling and fonts shared by every viewer window.
#pragma once

#include <windows.h>

#include "view/handles.h"

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

// Decides light or dark (the "Dark" key, the host's show flags, else the
// brightness of the host's own background colour), recomputes the UI language
// and recreates the two shared brushes.
void LoadColors();

// Deletes the shared brushes: when the last viewer closes and at module end.
void ReleasePaletteBrushes();

// The background brush, or the system window brush when none exists.
HBRUSH BackgroundBrush();

// Themes the photo-only check box and the scroll bars of one viewer window.
void ApplyTheme(HWND viewer);
void ApplyDarkFrame(HWND control);

// Lengths are written for 96 DPI and scaled at use.
int WindowDpi(HWND window);
int ScaleForDpi(HWND window, int length);

// The UI font at a character height of `size` pixels at 96 DPI.
UniqueFont CreateUiFont(HWND window, int size);

// Parses a host colour value ("r,g,b" or a decimal COLORREF) and tells whether
// it is dark; false for text that is no colour.
bool IsDarkColorText(const wchar_t* text);

}  // namespace kontaktel
