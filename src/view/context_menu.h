// The context menus of the contact list and the details view, and Ctrl+C in
// the viewer window. Every command copies text to the clipboard.
#pragma once

#include <windows.h>

#include "view/viewer_state.h"

namespace kontaktel {

// Posted, never sent, so that a menu opens after the mouse or key message that
// asked for it is done; lParam is a screen point (signed 16-bit x and y).
inline constexpr UINT WM_LIST_CONTEXT_MENU = WM_APP + 40;
inline constexpr UINT WM_DETAILS_CONTEXT_MENU = WM_APP + 41;

// Command ids of the list menu and of the details menu.
enum ListMenuCommand : UINT {
  kCopyName = 10,
  kCopyPhone = 11,
  kCopyEmail = 12,
  kCopyCardText = 13,
  kCopyAsVCard = 14,
  kSaveListPhoto = 15  // only for a card with a photo that can be saved
};
enum DetailsMenuCommand : UINT {
  kCopySelection = 1,
  kCopyLineValue = 2,
  kCopyAll = 3,
  kSaveDetailsPhoto = 4  // only for a card with a photo that can be saved
};

// True while either menu is tracked in any viewer window of the module: a
// second menu never opens over the first.
bool ContextMenuOpen();

// Posts one of the two menu messages with a screen point.
void PostMenuRequest(HWND viewer, UINT message, POINT screen);

// WM_RBUTTONUP, WM_CONTEXTMENU and the two menu messages of the viewer;
// false when the message is none of them.
bool OnContextMenuMessage(HWND window, ViewerState& state, UINT message, WPARAM wParam,
                          LPARAM lParam);

// Ctrl+C in the viewer window: the details view's rules when it has the
// focus, else the selected card's name; Ctrl+Shift+C in the list copies the
// card as vCard.
void OnCopyKey(HWND window, ViewerState& state);

}  // namespace kontaktel
