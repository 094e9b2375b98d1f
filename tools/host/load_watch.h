// Watching a viewer read its file as a screen reader would: the list's
// accessible description is the viewer's status line, which says
// "Loading… N cards (P%)" ("Загрузка… N (P%)") until the file is read whole.
// Used by kontaktel-host and kontaktel-window-bench for their timings.
#pragma once

#include <windows.h>
// OLE and accessibility, after the types of windows.h.
#include <ole2.h>
#include <oleacc.h>

#include <cwchar>
#include <cwctype>
#include <string>

// The viewer's status line, empty when it cannot be read.
inline std::wstring ViewerStatus(HWND viewer) {
  IAccessible* object = nullptr;
  if (FAILED(AccessibleObjectFromWindow(viewer, static_cast<DWORD>(OBJID_CLIENT),
                                        __uuidof(IAccessible), reinterpret_cast<void**>(&object))) ||
      object == nullptr) {
    return {};
  }
  VARIANT self;
  VariantInit(&self);
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR text = nullptr;
  std::wstring status;
  if (object->get_accDescription(self, &text) == S_OK && text != nullptr) {
    status = text;
    SysFreeString(text);
  }
  object->Release();
  return status;
}

// Times in milliseconds after ListLoadW; -1 for what did not happen.
struct LoadTimes {
  double firstCard = -1;  // the first card painted
  double loaded = -1;     // the whole file read and its status line shown
};

// Runs the window's messages until the viewer has read its file. `elapsed`
// answers the milliseconds since ListLoadW.
template <typename Elapsed>
LoadTimes WatchLoad(HWND viewer, Elapsed elapsed) {
  LoadTimes times;
  for (;;) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    const std::wstring status = ViewerStatus(viewer);
    if (status.empty()) return times;
    const bool loading = status.rfind(L"Loading", 0) == 0 || status.rfind(L"Загрузка", 0) == 0;
    // The first number of the line counts the cards (shown or read).
    size_t digit = 0;
    while (digit < status.size() && !std::iswdigit(status[digit])) ++digit;
    if (times.firstCard < 0 && digit < status.size() && std::wcstol(status.c_str() + digit, nullptr, 10) > 0) {
      RedrawWindow(viewer, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
      times.firstCard = elapsed();
    }
    if (!loading) {
      times.loaded = elapsed();
      return times;
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
  }
}
