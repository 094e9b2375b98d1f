// The list column's behaviour: drawing the rows, keys, clicks, the wheel, the
// list scroll bar, the filter box, the photo-only check box and the tooltip.
#pragma once

#include <windows.h>

#include "view/viewer_state.h"

namespace kontaktel {

inline constexpr int kFilterEditId = 1010;
inline constexpr int kPhotoOnlyCheckId = 1011;

// Draws the rows into `area` and stores the rows area in state.list.listRect.
void DrawContactList(HWND window, ViewerState& state, HDC dc, const RECT& area);

// A navigation key; false when the key is not the list's.
bool NavigateList(HWND window, ViewerState& state, WPARAM key);

// Mouse input over the list column. Each returns whether it handled it.
bool OnListButtonDown(HWND window, ViewerState& state, POINT client);
bool OnListWheel(HWND window, ViewerState& state, POINT client, int delta);
void OnListMouseMove(HWND window, ViewerState& state, POINT client);
void OnListScroll(HWND window, ViewerState& state, WPARAM wParam);

// The filter edit changed (EN_CHANGE) or the check box was clicked.
void OnFilterChanged(HWND window, ViewerState& state);
void OnPhotoOnlyClicked(HWND window, ViewerState& state);

// Keeps the selected row on screen (topRow within the rows that fit).
void EnsureSelectionVisible(ViewerState& state);

// The filter edit's and the check box's subclass: keys the list should see.
LRESULT CALLBACK EditSubclassProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                  UINT_PTR id, DWORD_PTR viewer);

}  // namespace kontaktel
