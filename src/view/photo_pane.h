// The photo pane: a child window of class VCF_PHOTO_VIEW that paints a photo
// scaled down to fit, double-buffered. The photo is the one held where the
// creation parameter points (a UniqueGdiplusBitmap that outlives the pane).
#pragma once

#include <windows.h>

namespace kontaktel {

inline constexpr wchar_t kPhotoPaneClassName[] = L"VCF_PHOTO_VIEW";

LRESULT CALLBACK PhotoPaneProc(HWND pane, UINT message, WPARAM wParam, LPARAM lParam);

// Where a photo of the given size is drawn in a pane of the given client
// size: 2 pixels in, scaled down (never up) to the client size capped at 1000.
RECT PhotoDrawRect(SIZE photo, SIZE client);

}  // namespace kontaktel
