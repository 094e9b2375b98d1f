// The viewer window that the plugin places inside the host's Lister window.
#pragma once

#include <windows.h>

#include <cstddef>

#include "vcard/card.h"

namespace kontaktel {

inline constexpr wchar_t kViewerClassName[] = L"VCF_VIEW_CLASS";

LRESULT CALLBACK ViewerWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Registers the window class once per module; a failed registration is tried
// again next time.
void EnsureViewerClassRegistered();
// Unregisters it at module end.
void UnregisterViewerClass();

// Hands a file's cards to the window: the first card selected, the search
// cleared, the filter kept, the settings re-read and the window laid out anew.
void AttachCards(HWND window, CardSet cards);

// Makes a card the selected one (an index past the end selects the last).
void SelectCard(HWND window, size_t index);

// Asks the host to close its Lister window, as Escape does.
void CloseHostWindow(HWND window);

// The viewer's client area drawn into `dc` (for WM_PAINT and screenshots).
void PaintViewer(HWND window, HDC dc);

}  // namespace kontaktel
