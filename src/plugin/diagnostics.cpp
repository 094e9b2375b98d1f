#include "plugin/diagnostics.h"

#include "config/settings.h"
#include "plugin/plugin_globals.h"
#include "view/handles.h"
#include "view/theme.h"
#include "view/viewer_state.h"

using namespace kontaktel;

extern "C" void __stdcall KontaktelGetDiagnostics(HWND window, KontaktelDiagnostics* record) {
  try {
    if (record == nullptr || record->size != static_cast<int>(sizeof(KontaktelDiagnostics))) return;
    const PluginGlobals& globals = Globals();
    record->liveViewers = globals.liveViewers;
    record->gdiplusUsers = globals.gdiplusUsers;
    record->gdiplusRunning = globals.gdiplusToken != 0;
    record->gdiObjects = LiveGdiObjectCount();
    record->viewClassRegistered = globals.viewClassRegistered;
    record->hostDark = globals.hostDark;
    record->darkMode = DarkModeActive();
    record->uiRussian = UiIsRussian();
    const ViewerState* state = GetViewerState(window);
    record->cardCount = state ? static_cast<int>(state->cards.size()) : -1;
    record->selected = state ? static_cast<int>(state->filter.selected) : -1;
    record->listWidth = state ? state->listWidth : -1;
    record->loadPhotoUrl = state ? state->loadPhotoUrl : -1;
    record->matchCount = state ? static_cast<int>(state->filter.matchCount) : -1;
    record->matchOrdinal = state ? static_cast<int>(state->filter.matchOrdinal) : -1;
    record->visibleCount = state ? static_cast<int>(state->filter.visibleIndices.size()) : -1;
  } catch (...) {
  }
}
