// The details view's subclass: it turns the read-only rich edit control into a
// pane that can be clicked, right-clicked and scrolled without keeping the
// keyboard focus, and gives it Escape, Ctrl+C and its context menu.
#pragma once

#include <windows.h>

namespace kontaktel {

inline constexpr UINT_PTR kDetailsSubclassId = 3;

// Installed with subclass id 3 and reference data 0; the view's parent is the
// viewer window.
LRESULT CALLBACK DetailsSubclassProc(HWND view, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR subclassId, DWORD_PTR refData);

}  // namespace kontaktel
