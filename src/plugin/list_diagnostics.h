// Only in the tests' build of the plugin, not part of the host's interface:
// exports that let the tests read the contact list as it is drawn (the page's
// rows with their texts and shades, the page position and the status text).
#pragma once

#include <windows.h>

struct KontaktelListView {
  int size;      // sizeof the record, set by the caller
  int rowCount;  // rows of the visible list
  int topRow;
  int rowsPerPage;
  int selectedRow;  // -1 when the filter hides the selected card
  wchar_t status[256];
};

struct KontaktelListRow {
  int size;  // sizeof the record, set by the caller
  int card;
  int shade;  // 0 plain, 1 selected, 2 search match
  wchar_t name[256];
  wchar_t detail[256];
};

// Fills the record for a viewer window; false for any other window.
extern "C" BOOL __stdcall KontaktelGetListView(HWND window, KontaktelListView* record);
// Row `pageRow` of the page drawn; false when the page has no such row.
extern "C" BOOL __stdcall KontaktelGetListRow(HWND window, int pageRow, KontaktelListRow* record);
