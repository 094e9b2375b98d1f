// What a viewer holds of the accessible object it handed to screen readers,
// so that it can cut the object off when the window goes (list_accessible.cpp
// makes and disconnects it).
#pragma once

#include <windows.h>

namespace kontaktel {

struct ViewerState;
class ListAccessible;

// The window's one accessible object, made on the first request. A reader may
// hold it after the window is gone: Disconnect (in WM_DESTROY) cuts it off the
// state, and from then on it answers CO_E_OBJNOTCONNECTED.
class AccessibleLink {
 public:
  AccessibleLink() = default;
  AccessibleLink(const AccessibleLink&) = delete;
  AccessibleLink& operator=(const AccessibleLink&) = delete;
  ~AccessibleLink() { Disconnect(); }
  void Disconnect();

 private:
  friend LRESULT OnGetObject(ViewerState& state, WPARAM wParam, LPARAM lParam);
  ListAccessible* object_ = nullptr;
};

}  // namespace kontaktel
