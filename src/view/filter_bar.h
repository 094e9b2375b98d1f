// The filter strip above the contact list: the filter edit and the photo-only
// check box (created with the viewer's other controls). Typing filters at
// once; both controls pass navigation keys and Escape on to the viewer
// window.
#pragma once

#include <windows.h>

namespace kontaktel {

struct ViewerState;

inline constexpr int kFilterEditId = 1010;
inline constexpr int kPhotoOnlyCheckId = 1011;

// EN_CHANGE from the filter edit: its text becomes the filter.
void OnFilterChanged(HWND window, ViewerState& state);

// BN_CLICKED from the check box: its state becomes the photo-only filter, and
// the focus goes back to the viewer.
void OnPhotoOnlyClicked(HWND window, ViewerState& state);

// Subclass procedure of the filter edit (id 1) and the check box (id 2); the
// reference data is the viewer window.
LRESULT CALLBACK EditSubclassProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                  UINT_PTR subclassId, DWORD_PTR viewerWindow);

}  // namespace kontaktel
