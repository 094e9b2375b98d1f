// What user32 hands out: windows, menus, and the clipboard while it is open.
#pragma once

#include <windows.h>

#include "win/unique_handle.h"

namespace kontaktel {

struct WindowTraits : Uncounted {
  static void Free(HWND window) {
    if (IsWindow(window)) DestroyWindow(window);
  }
};
using UniqueWindow = UniqueHandle<HWND, WindowTraits>;

struct MenuTraits : Uncounted {
  static void Free(HMENU menu) { DestroyMenu(menu); }
};
// A menu that no window holds, such as a popup menu while it is built and tracked.
using UniqueMenu = UniqueHandle<HMENU, MenuTraits>;

// OpenClipboard and CloseClipboard as one object; Opened() tells whether the
// clipboard is ours until the scope ends.
class ClipboardScope {
 public:
  explicit ClipboardScope(HWND owner) : opened_(OpenClipboard(owner) != FALSE) {}
  ~ClipboardScope() {
    if (opened_) CloseClipboard();
  }
  ClipboardScope(const ClipboardScope&) = delete;
  ClipboardScope& operator=(const ClipboardScope&) = delete;
  bool Opened() const { return opened_; }

 private:
  bool opened_;
};

}  // namespace kontaktel
