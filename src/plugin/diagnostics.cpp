#include "plugin/diagnostics.h"

#include "config/ui_language.h"
#include "photo/gdiplus_bitmap.h"
#include "view/handles.h"
#include "view/host_context.h"
#include "view/theme.h"
#include "view/viewer_state.h"
#include "view/viewer_window.h"

using namespace kontaktel;

extern "C" void __stdcall KontaktelGetDiagnostics(HWND window, KontaktelDiagnostics* record) {
  try {
    if (record == nullptr || record->size != static_cast<int>(sizeof(KontaktelDiagnostics))) return;
    record->liveViewers = LiveViewerCount();
    record->gdiplusUsers = GdiplusUserCount();
    record->gdiplusRunning = GdiplusRunning();
    record->gdiObjects = LiveGdiObjectCount();
    record->viewClassRegistered = ViewerClassRegistered();
    record->hostDark = Host().hostDark;
    record->darkMode = DarkModeActive();
    record->uiRussian = UiIsRussian();
    const ViewerState* state = GetViewerState(window);
    record->cardCount = state ? static_cast<int>(state->cards.size()) : -1;
    record->selected = state ? static_cast<int>(state->filter.selected) : -1;
    record->listWidth = state ? state->splitter.listWidth : -1;
    record->loadPhotoUrl = state ? state->photo.loadPhotoUrl : -1;
    record->matchCount = state ? static_cast<int>(state->filter.matchCount) : -1;
    record->matchOrdinal = state ? static_cast<int>(state->filter.matchOrdinal) : -1;
    record->visibleCount = state ? static_cast<int>(state->filter.visibleIndices.size()) : -1;
    record->detailsMeasures = state ? state->details.extent.measures : -1;
    const SIZE photo = BitmapSize(state ? state->photo.image.get() : nullptr);
    record->photoWidth = photo.cx;
    record->photoHeight = photo.cy;
  } catch (...) {
  }
}
