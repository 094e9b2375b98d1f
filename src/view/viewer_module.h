// The viewer's life in the module, apart from any one window: the window
// classes, the live viewer windows and what they share (colours, language,
// GDI+, the rich edit library), and their release when the module goes.
#pragma once

#include <windows.h>

#include "view/viewer_state.h"

namespace kontaktel {

inline constexpr wchar_t kViewerClassName[] = L"VCF_VIEW_CLASS";

// Sent to every live viewer after the palette or the language may have
// changed; wParam is nonzero when either did.
inline constexpr UINT WM_APPEARANCE_CHANGED = WM_APP + 42;

// Registers the viewer class with its window procedure once per module; a
// failed registration is tried again next time.
bool RegisterViewerClass(WNDPROC procedure);
bool ViewerClassRegistered();

// A viewer window begins: it counts as live from now on, holds a GDI+ user,
// and the colours, the language and the photo pane's class are made ready.
void AddLiveViewer(HWND window);
// A viewer window ends: with the last one the shared brushes and the rich
// edit library go.
void RemoveLiveViewer(HWND window);
// Viewer windows whose state exists, in every host window of the process.
int LiveViewerCount();

// The one place where the UI language and the palette are chosen, from the
// host's INI file and show flags.
void ChooseLanguageAndColors();

// Chooses the language and the palette anew and sends every live viewer
// WM_APPEARANCE_CHANGED: after the host's show flags, its new parameters, a
// new INI file or a system colour or setting change.
void ReloadAppearance();

// At module end, with no viewer alive: brushes, GDI+ and both window classes go.
void ReleaseViewerModule();

// The state of a window handle from outside (the host's): null unless it is
// a viewer window of this module.
ViewerState* GetViewerState(HWND window);

}  // namespace kontaktel
