#include "plugin/diagnostics.h"

#include "config/ui_language.h"
#include "photo/gdiplus_bitmap.h"
#include "photo/photo_fetch.h"
#include "plugin/gdi_object_count.h"
#include "view/card_loading.h"
#include "view/host_context.h"
#include "view/theme.h"
#include "view/viewer_module.h"
#include "view/viewer_state.h"
#include "view/wheel_lines.h"
#include "win/gdi_handles.h"

using namespace kontaktel;

namespace {

int FontHeight(HFONT font) {
  LOGFONTW logFont{};
  return GetObjectW(font, sizeof logFont, &logFont) == sizeof logFont ? logFont.lfHeight : 0;
}

}  // namespace

extern "C" __declspec(dllexport) void __stdcall KontaktelSetSeams(int dpi, BOOL wheelOverride, unsigned wheelLines) {
  SetDpiOverride(dpi);
  SetWheelLinesOverride(wheelOverride != FALSE, wheelLines);
}

extern "C" __declspec(dllexport) void __stdcall KontaktelSetLoadSeams(
    int stepCards, HANDLE gate, unsigned long long sizeLimit) {
  try {
    SetLoadingSeams(static_cast<size_t>(stepCards > 0 ? stepCards : 0), gate, sizeLimit);
  } catch (...) {
  }
}

extern "C" __declspec(dllexport) void __stdcall KontaktelFinishLoading(HWND window) {
  try {
    if (ViewerState* state = GetViewerState(window)) FinishCardLoading(*state);
  } catch (...) {
  }
}

extern "C" __declspec(dllexport) void __stdcall KontaktelGetDiagnostics(
    HWND window, KontaktelDiagnostics* record) {
  try {
    if (record == nullptr || record->size != static_cast<int>(sizeof(KontaktelDiagnostics))) return;
    record->liveViewers = LiveViewerCount();
    record->gdiplusUsers = GdiplusUserCount();
    record->gdiplusRunning = GdiplusRunning();
    record->gdiObjects = LiveGdiObjects();
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
    record->rowHeight = state ? state->list.rowHeight : -1;
    record->mainFontHeight = state ? FontHeight(state->fonts.main.Get()) : -1;
    record->smallFontHeight = state ? FontHeight(state->fonts.small.Get()) : -1;
    record->detailsScroll = state ? state->details.scroll : -1;
    record->detailsMeasures = state ? state->details.extent.measures : -1;
    const SIZE photo = BitmapSize(state ? state->photo.image.Get() : nullptr);
    record->photoWidth = photo.cx;
    record->photoHeight = photo.cy;
    record->loading = state ? state->loading.job != nullptr : -1;
    record->loadSteps = state ? state->loading.steps : -1;
  } catch (...) {
  }
}

extern "C" __declspec(dllexport) BOOL __stdcall KontaktelPostPhoto(HWND window, const unsigned char* bytes, int size) {
  try {
    const ViewerState* state = GetViewerState(window);
    if (state == nullptr || bytes == nullptr || size < 0) return FALSE;
    auto result = std::make_unique<PhotoFetchResult>();
    result->cardIndex = state->filter.selected;
    result->generation = state->photo.fetch.photoGeneration;
    result->bytes.assign(bytes, bytes + size);
    if (!PostMessageW(window, WM_PHOTO_LOADED, 0, reinterpret_cast<LPARAM>(result.get())))
      return FALSE;
    result.release();  // the window's now
    return TRUE;
  } catch (...) {
    return FALSE;
  }
}
