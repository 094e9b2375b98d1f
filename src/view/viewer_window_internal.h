// The viewer window's handlers that its window procedure dispatches to.
#pragma once

#include <windows.h>

#include "view/viewer_state.h"

namespace kontaktel {

LRESULT OnCreate(HWND window);
LRESULT OnDestroy(HWND window);
// Copies the window's settings ("ListWidth", "LoadPhotoUrl") from the INI file.
void ApplySettings(ViewerState& state);
// Places every child control for a client area of width x height.
void LayoutViewer(HWND window, ViewerState& state, int width, int height);

}  // namespace kontaktel
