// Context menus of the list and the details view, Ctrl+C and the clipboard.
#pragma once

#include <windows.h>

#include "view/viewer_state.h"

namespace kontaktel {

inline constexpr UINT WM_LIST_CONTEXT_MENU = WM_APP + 40;
inline constexpr UINT WM_DETAILS_CONTEXT_MENU = WM_APP + 41;

// WM_RBUTTONUP, WM_CONTEXTMENU and the two private menu messages of the
// viewer; false when the message was not a menu's.
bool OnContextMenuMessage(HWND window, ViewerState& state, UINT message, WPARAM wParam,
                          LPARAM lParam);

// Ctrl+C in the viewer window.
void OnCopyKey(HWND window, ViewerState& state);

// The details view's subclass (reference data 0): its menu, Ctrl+C, and its
// wheel, which scrolls the whole details column.
LRESULT CALLBACK DetailsSubclassProc(HWND view, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR id, DWORD_PTR data);

}  // namespace kontaktel
