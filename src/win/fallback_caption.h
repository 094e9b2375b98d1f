// A check box whose caption is drawn through DrawFallbackText: the control
// keeps its text, state, keys and focus, and paints itself as always; its
// caption is then drawn over, so that characters its own drawing shows as
// boxes under Wine (the camera mark) appear there too.
#pragma once

#include <windows.h>

namespace kontaktel {

// Subclasses a check box for good; the subclass goes with the window.
void DrawCaptionWithFallback(HWND checkBox);

}  // namespace kontaktel
