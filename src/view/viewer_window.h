// The viewer window that the plugin places inside the host's Lister window.
#pragma once

#include <windows.h>

#include <cstddef>

#include "text/source_bytes.h"
#include "vcard/card.h"

namespace kontaktel {

inline constexpr wchar_t kViewerClassName[] = L"VCF_VIEW_CLASS";

LRESULT CALLBACK ViewerWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Registers the window class once per module; a failed registration is tried
// again next time.
void EnsureViewerClassRegistered();
bool ViewerClassRegistered();

// Viewer windows whose state exists, in every host window of the process.
int LiveViewerCount();

// At module end, with no viewer alive: brushes, GDI+ and both window classes go.
void ReleaseViewerModule();

// Hands a file's cards to the window: the first card selected, the search
// cleared, the filter kept, the settings re-read and the window laid out anew.
// `source` is the file's bytes, kept for copying cards as the file holds them.
void AttachCards(HWND window, CardSet cards, FileBytes source = {});

// Makes a card the selected one (an index past the end selects the last).
void SelectCard(HWND window, size_t index);

// Asks the host to close its Lister window, as Escape does.
void CloseHostWindow(HWND window);

// The one place where the UI language and the palette are chosen, from the
// host's INI file and show flags.
void ChooseLanguageAndColors();

// Chooses the language and the palette anew, and re-themes, refills and
// repaints every open viewer window: after the host's show flags, its new
// parameters, a new INI file or a system colour or setting change.
void ReloadAppearance();

// Lays the window out again from its client size (sends it WM_SIZE).
void RelayoutViewer(HWND window);

// The viewer's client area drawn into `dc` (for WM_PAINT and screenshots).
void PaintViewer(HWND window, HDC dc);

}  // namespace kontaktel
