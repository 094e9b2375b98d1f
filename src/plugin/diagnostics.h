// Only in the tests' build of the plugin, not part of the host's interface: an
// export that lets the tests see the module's counters and one window's state,
// to prove that windows, GDI objects and GDI+ users are all given back and
// that settings arrive where they should.
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
  int rowHeight;  // device pixels, as last painted
  int mainFontHeight;   // the fonts' LOGFONT heights
  int smallFontHeight;
  int detailsScroll;
  int detailsMeasures;  // how often the details text was measured
  int photoWidth;       // the photo as kept, 0 x 0 for none
  int photoHeight;
  int loading;    // 1 while the file is still being read
  int loadSteps;  // the reading steps whose cards the window has taken in
};

extern "C" void __stdcall KontaktelGetDiagnostics(HWND window, KontaktelDiagnostics* record);

// Seams for what the test machine cannot do: every viewer window reports
// `dpi` (0: the system's answer), and with `wheelOverride` the wheel moves
// `wheelLines` lines per notch (0xFFFFFFFF: a page).
extern "C" void __stdcall KontaktelSetSeams(int dpi, BOOL wheelOverride, unsigned wheelLines);

// Seams for reading files: `stepCards` cards per step (0: the usual number),
// each step waiting for `gate` when it is an event (the caller keeps it),
// files above `sizeLimit` bytes declined (0: the usual limit).
extern "C" void __stdcall KontaktelSetLoadSeams(int stepCards, HANDLE gate,
                                                unsigned long long sizeLimit);

// Waits until the window has read its whole file, as the host's search does.
extern "C" void __stdcall KontaktelFinishLoading(HWND window);

// Posts a downloaded photo to a viewer as a download worker does: for its
// selected card and newest fetch. False for a window that is no viewer.
extern "C" BOOL __stdcall KontaktelPostPhoto(HWND window, const unsigned char* bytes, int size);
