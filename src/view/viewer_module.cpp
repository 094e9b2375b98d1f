#include "view/viewer_module.h"

#include <algorithm>
#include <array>
#include <vector>

#include "config/ui_language.h"
#include "photo/gdiplus_bitmap.h"
#include "view/details_pane.h"
#include "view/host_context.h"
#include "view/photo_pane.h"
#include "view/theme.h"
#include "win/window_class.h"

namespace kontaktel {

namespace {

WindowClass viewerClass(kViewerClassName);
WindowClass photoPaneClass(kPhotoPaneClassName);
// The windows whose state exists: a palette or language change reaches them all.
std::vector<HWND> liveViewers;

}  // namespace

bool RegisterViewerClass(WNDPROC procedure) {
  return viewerClass.Register(procedure, ModuleHandle());
}

bool ViewerClassRegistered() {
  return viewerClass.Registered();
}

void AddLiveViewer(HWND window) {
  liveViewers.push_back(window);
  AddGdiplusUser();
  ChooseLanguageAndColors();
  photoPaneClass.Register(PhotoPaneProc, ModuleHandle());
}

void RemoveLiveViewer(HWND window) {
  std::erase(liveViewers, window);
  if (liveViewers.empty()) {
    ReleasePaletteBrushes();
    ReleaseRichEditLibrary();
  }
  ReleaseGdiplusUser();
}

int LiveViewerCount() {
  return static_cast<int>(liveViewers.size());
}

void ChooseLanguageAndColors() {
  UpdateUiLanguage(Host().iniPath);
  LoadColors();
}

void ReloadAppearance() {
  const auto appearance = [] {
    const Palette& palette = CurrentPalette();
    return std::array<COLORREF, 5>{palette.text, palette.background, palette.secondaryText,
                                   static_cast<COLORREF>(DarkModeActive()),
                                   static_cast<COLORREF>(UiIsRussian())};
  };
  const auto before = appearance();
  ChooseLanguageAndColors();
  // Refilling a long card's details is the costly part: only a change of
  // palette or language needs it.
  const bool changed = appearance() != before;
  for (const HWND window : std::vector<HWND>(liveViewers)) {
    SendMessageW(window, WM_APPEARANCE_CHANGED, changed, 0);
  }
}

void ReleaseViewerModule() {
  if (!liveViewers.empty()) return;
  ReleasePaletteBrushes();
  ShutdownGdiplus();
  viewerClass.Unregister();
  photoPaneClass.Unregister();
}

ViewerState* GetViewerState(HWND window) {
  // A handle from the host may name any window: only ours carry a state.
  if (window == nullptr || !IsWindow(window)) return nullptr;
  wchar_t className[64] = {};
  if (GetClassNameW(window, className, 64) == 0 || lstrcmpiW(className, kViewerClassName) != 0)
    return nullptr;
  if (reinterpret_cast<HINSTANCE>(GetClassLongPtrW(window, GCLP_HMODULE)) != ModuleHandle())
    return nullptr;
  return WindowUserData<ViewerState>(window);
}

}  // namespace kontaktel
