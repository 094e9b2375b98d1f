#include "view/context_menu.h"

#include <commctrl.h>

namespace kontaktel {

namespace {

LRESULT ForwardWheel(HWND view, UINT message, WPARAM wParam, LPARAM lParam) {
  // The details view never scrolls itself: the column scrolls as a whole.
  return SendMessageW(GetParent(view), message, wParam, lParam);
}

struct DetailsMessage {
  UINT message;
  LRESULT (*handle)(HWND, UINT, WPARAM, LPARAM);
};

constexpr DetailsMessage kDetailsMessages[] = {
    {WM_MOUSEWHEEL, ForwardWheel},
};

}  // namespace

bool OnContextMenuMessage(HWND, ViewerState&, UINT, WPARAM, LPARAM) {
  return false;
}

void OnCopyKey(HWND, ViewerState&) {}

LRESULT CALLBACK DetailsSubclassProc(HWND view, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR, DWORD_PTR) {
  try {
    for (const DetailsMessage& entry : kDetailsMessages) {
      if (entry.message == message) return entry.handle(view, message, wParam, lParam);
    }
    return DefSubclassProc(view, message, wParam, lParam);
  } catch (...) {
    return 0;
  }
}

}  // namespace kontaktel
