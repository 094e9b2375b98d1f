// The functions the host calls. Each body runs inside a catch-all guard: an
// exception must never unwind into the host.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <string>

#include "plugin/load_pipeline.h"
#include "vcard/card_load.h"
#include "view/card_loading.h"
#include "view/host_commands.h"
#include "view/host_context.h"
#include "view/search.h"
#include "view/theme.h"
#include "view/viewer_module.h"
#include "view/viewer_state.h"
#include "view/viewer_window.h"
#include "view/window_proc.h"
#include "win/window_handles.h"

namespace kontaktel {

namespace {

// The host offers the plugin every file whose extension matches.
constexpr char kDetectString[] = "EXT=\"VCF\" | EXT=\"VCARD\"";

// The host's results and command numbers.
constexpr int kResultOk = 0;
constexpr int kResultError = 1;
constexpr int kCommandCopy = 1;
constexpr int kCommandNewParams = 2;
constexpr int kCommandSelectAll = 3;
constexpr int kSearchFindFirst = 1;
constexpr int kSearchMatchCase = 2;
constexpr int kSearchWholeWords = 4;
constexpr int kSearchBackwards = 8;
// The host's two dark-mode show flags.
constexpr int kShowFlagsDark = 0x180;

// What the host passes to ListSetDefaultParams.
struct DefaultParams {
  int size;
  DWORD interfaceVersionLow;
  DWORD interfaceVersionHigh;
  char defaultIniName[260];
};

template <typename Char>
void CopyDetectString(Char* buffer, int length) {
  if (buffer == nullptr || length < 1) return;
  const size_t count = std::min(std::strlen(kDetectString), static_cast<size_t>(length - 1));
  for (size_t i = 0; i < count; ++i) buffer[i] = static_cast<Char>(kDetectString[i]);
  buffer[count] = 0;
}

BOOL CALLBACK InvalidateChild(HWND child, LPARAM) {
  InvalidateRect(child, nullptr, TRUE);
  return TRUE;
}

// Colours and language are chosen anew, and every open viewer follows them;
// the window named by the host is repainted with every window inside it.
void ApplyHostDark(HWND window, int flags) {
  Host().hostDark = (flags & kShowFlagsDark) != 0 ? 1 : 0;
  ReloadAppearance();
  if (window == nullptr || !IsWindow(window)) return;
  if (const ViewerState* state = GetViewerState(window)) ApplyTheme(*state);
  InvalidateRect(window, nullptr, TRUE);
  EnumChildWindows(window, InvalidateChild, 0);
}

// The file is opened, its size checked and its start read before the window
// exists; the rest is read behind the window, which shows the cards as they come.
HWND LoadFile(HWND parent, const wchar_t* fileName, int showFlags) {
  if (parent == nullptr || fileName == nullptr) return nullptr;
  std::unique_ptr<CardLoad> load = CardLoad::Open(fileName, LoadSizeLimit());
  if (!load) return nullptr;  // the host may try another viewer
  // Owned until it is filled: a failure on the way must not leave a window behind.
  UniqueWindow window(CreateViewerWindow(parent));
  ViewerState* state = GetViewerState(window.Get());
  if (state == nullptr) return nullptr;
  StartCardLoading(*state, std::move(load));
  ApplyShowFlags(window.Get(), showFlags);
  return window.Release();
}

int LoadNextFile(HWND parent, HWND window, const wchar_t* fileName, int showFlags) {
  if (parent == nullptr || window == nullptr || fileName == nullptr) return kResultError;
  std::unique_ptr<CardLoad> load = CardLoad::Open(fileName, LoadSizeLimit());
  if (!load) return kResultError;  // the window keeps showing the previous file
  // The load of the previous file, if it still runs, is abandoned. The first
  // card the filter already typed shows, which need not be the file's first.
  if (ViewerState* state = GetViewerState(window)) StartCardLoading(*state, std::move(load));
  ApplyShowFlags(window, showFlags);
  return kResultOk;
}

int SearchText(HWND window, const wchar_t* text, int flags) {
  if (window == nullptr || text == nullptr) return kResultError;
  ViewerState* state = GetViewerState(window);
  if (state == nullptr) return kResultError;
  // The host wants found or not found now, for the whole file.
  FinishCardLoading(*state);
  if (state->cards.empty()) return kResultError;
  const uint64_t count = state->cards.size();
  const uint64_t selected = std::min<uint64_t>(state->filter.selected, count - 1);
  const bool backwards = (flags & kSearchBackwards) != 0;
  uint64_t start = 0;
  if (flags & kSearchFindFirst) {
    start = backwards ? count - 1 : 0;
  } else if (backwards) {
    start = (selected != 0 ? selected : count) - 1;
  } else {
    start = (selected + 1) % count;
  }
  return SearchCards(*state, text, start, backwards, (flags & kSearchMatchCase) != 0,
                     (flags & kSearchWholeWords) != 0)
             ? kResultOk
             : kResultError;
}

}  // namespace

std::wstring AnsiToWide(const char* text) {
  if (text == nullptr) return {};
  const int needed = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  if (needed <= 0) return {};
  std::wstring wide(static_cast<size_t>(needed), L'\0');
  if (MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), needed) <= 0) return {};
  wide.resize(static_cast<size_t>(needed) - 1);  // without the terminating NUL
  return wide;
}

void ApplyShowFlags(HWND window, int showFlags) {
  ApplyHostDark(window, showFlags);
}

}  // namespace kontaktel

using namespace kontaktel;

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    DisableThreadLibraryCalls(instance);
    if (instance != nullptr) Host().module = instance;
  } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
    // Only on FreeLibrary: when the process ends, Windows reclaims everything,
    // and other threads (GDI+'s among them) are already gone.
    // With a viewer still alive nothing may go: its window still needs the
    // classes, the brushes and GDI+.
    ReleaseViewerModule();
  }
  return TRUE;
}

HWND __stdcall ListLoadW(HWND parentWin, const wchar_t* fileToLoad, int showFlags) {
  try {
    return LoadFile(parentWin, fileToLoad, showFlags);
  } catch (...) {
    return nullptr;
  }
}

HWND __stdcall ListLoad(HWND parentWin, const char* fileToLoad, int showFlags) {
  try {
    if (fileToLoad == nullptr) return nullptr;
    const std::wstring name = AnsiToWide(fileToLoad);
    return LoadFile(parentWin, name.c_str(), showFlags);
  } catch (...) {
    return nullptr;
  }
}

int __stdcall ListLoadNextW(HWND parentWin, HWND listWin, const wchar_t* fileToLoad,
                            int showFlags) {
  try {
    return LoadNextFile(parentWin, listWin, fileToLoad, showFlags);
  } catch (...) {
    return 1;
  }
}

int __stdcall ListLoadNext(HWND parentWin, HWND listWin, const char* fileToLoad, int showFlags) {
  try {
    if (fileToLoad == nullptr) return 1;
    const std::wstring name = AnsiToWide(fileToLoad);
    return LoadNextFile(parentWin, listWin, name.c_str(), showFlags);
  } catch (...) {
    return 1;
  }
}

void __stdcall ListCloseWindow(HWND listWin) {
  try {
    if (listWin != nullptr && IsWindow(listWin)) DestroyWindow(listWin);
  } catch (...) {
  }
}

void __stdcall ListGetDetectString(char* detectString, int maxLength) {
  try {
    CopyDetectString(detectString, maxLength);
  } catch (...) {
  }
}

void __stdcall ListGetDetectStringW(wchar_t* detectString, int maxLength) {
  try {
    CopyDetectString(detectString, maxLength);
  } catch (...) {
  }
}

int __stdcall ListSearchTextW(HWND listWin, const wchar_t* searchString, int searchParameter) {
  try {
    return SearchText(listWin, searchString, searchParameter);
  } catch (...) {
    return 1;
  }
}

int __stdcall ListSearchText(HWND listWin, const char* searchString, int searchParameter) {
  try {
    if (searchString == nullptr) return 1;
    const std::wstring text = AnsiToWide(searchString);
    return SearchText(listWin, text.c_str(), searchParameter);
  } catch (...) {
    return 1;
  }
}

int __stdcall ListSendCommand(HWND listWin, int command, int parameter) {
  try {
    // 0 tells the host the command was carried out, 1 that it was not.
    if (listWin == nullptr) return kResultError;
    const ViewerState* state = GetViewerState(listWin);
    if (command == kCommandCopy) return state && CopyForHost(*state) ? kResultOk : kResultError;
    if (command == kCommandSelectAll)
      return state && SelectAllForHost(*state) ? kResultOk : kResultError;
    if (command != kCommandNewParams) return kResultError;
    ApplyHostDark(listWin, parameter);
    return kResultOk;
  } catch (...) {
    return kResultError;
  }
}

void __stdcall ListSetDefaultParams(DefaultParams* params) {
  try {
    if (params == nullptr) return;
    // The name is ANSI and the host reserves 260 bytes for it: read no further.
    const std::string name(params->defaultIniName,
                           strnlen(params->defaultIniName, sizeof params->defaultIniName));
    const std::wstring ini = AnsiToWide(name.c_str());
    if (ini.empty()) return;
    Host().iniPath = ini;
    ReloadAppearance();
  } catch (...) {
  }
}

}  // extern "C"
