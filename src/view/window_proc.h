// The viewer window's procedure, which hands each message to the part of the
// window it concerns, and the creation of a viewer window.
#pragma once

#include <windows.h>

namespace kontaktel {

LRESULT CALLBACK ViewerWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// A new viewer window inside `parent` (its class registered first), sized by
// the host later; null when it cannot be made.
HWND CreateViewerWindow(HWND parent);

}  // namespace kontaktel
