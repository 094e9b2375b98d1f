// Not part of the host's interface: an export that lets the tests see the
// module's counters and one window's state, to prove that windows, GDI objects
// and GDI+ users are all given back and that settings arrive where they should.
#pragma once

#include <windows.h>

struct KontaktelDiagnostics {
  int size;  // sizeof the record, set by the caller
  // Module-wide.
  int liveViewers;
  int gdiplusUsers;
  int gdiplusRunning;
  int gdiObjects;  // GDI objects the plugin created and has not deleted
  int viewClassRegistered;
  int hostDark;
  int darkMode;
  int uiRussian;
  // Of the window passed, when it is a viewer (else -1).
  int cardCount;
  int selected;
  int listWidth;
  int loadPhotoUrl;
  int matchCount;
  int matchOrdinal;
  int visibleCount;
  int detailsMeasures;  // how often the details text was measured
  int photoWidth;       // the photo as kept, 0 x 0 for none
  int photoHeight;
};

extern "C" void __stdcall KontaktelGetDiagnostics(HWND window, KontaktelDiagnostics* record);
