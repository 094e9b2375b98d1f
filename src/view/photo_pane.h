// The photo pane: a child window of class VCF_PHOTO_VIEW that paints the
// photo of its viewer's state scaled down to fit, double-buffered.
#pragma once

#include <windows.h>

namespace kontaktel {

inline constexpr wchar_t kPhotoPaneClassName[] = L"VCF_PHOTO_VIEW";

LRESULT CALLBACK PhotoPaneProc(HWND pane, UINT message, WPARAM wParam, LPARAM lParam);

// Registers the class once per module; a failed registration is tried again
// with the next viewer window.
void EnsurePhotoPaneClassRegistered();
void UnregisterPhotoPaneClass();
bool PhotoPaneClassRegistered();

// Where a photo of the given size is drawn in a pane of the given client
// size: 2 pixels in, scaled down (never up) to the client size capped at 1000.
RECT PhotoDrawRect(SIZE photo, SIZE client);

}  // namespace kontaktel
