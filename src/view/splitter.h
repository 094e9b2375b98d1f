// The bar between the list column and the details column: dragging it sets
// the list width, which is stored in the INI file when the drag ends.
#pragma once

#include <windows.h>

#include "view/viewer_state.h"

namespace kontaktel {

// Each returns whether the message was the splitter's.
bool OnSplitterButtonDown(HWND window, ViewerState& state, POINT client);
bool OnSplitterMouseMove(HWND window, ViewerState& state, POINT client);
bool OnSplitterButtonUp(HWND window, ViewerState& state);
// Loss of the mouse capture ends a drag without storing the width.
void OnSplitterCaptureLost(ViewerState& state);
// The west-east cursor over the splitter and while dragging.
bool OnSplitterSetCursor(HWND window, ViewerState& state);

}  // namespace kontaktel
