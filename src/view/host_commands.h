// The host's own copy and select-all commands (ListSendCommand), carried out
// on the details view of a viewer window.
#pragma once

#include <windows.h>

namespace kontaktel {

// Copies the details view's selection, or its whole text when nothing is
// selected. False for a window that is no viewer or when the clipboard could
// not take the text.
bool CopyForHost(HWND viewer);

// Selects the whole details text. False for a window that is no viewer.
bool SelectAllForHost(HWND viewer);

}  // namespace kontaktel
