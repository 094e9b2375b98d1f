// kontaktel-host: a minimal Lister host. It loads kontaktel.wlx64 from its own
// folder the way the file manager does and shows one file in a window.
//   kontaktel-host [options] FILE
//     --ini PATH          the plugins' INI file, passed with ListSetDefaultParams
//     --host-ini PATH     the host's main INI (its language and colours), put
//                         into the environment as COMMANDER_INI
//     --size WxH          client size of the host window (default 900x600)
//     --flags N           show flags for ListLoadW (0x80 asks for dark mode)
//     --next FILE         load this file into the same window afterwards
//     --quickview         quick view: FILE and every further file in a file
//                         list that keeps the focus, the first shown in a
//                         panel beside it; moving in the list loads the next
//                         with ListLoadNextW. With --screenshot the host walks
//                         the list once and back, and fails if the focus left it
//     --search TEXT       search with ListSearchTextW, --search-flags N
//     --filter TEXT       type TEXT into the viewer's filter box (id 1010)
//     --screenshot OUT.png  save the window as PNG and exit
//     --timing            print how long the file took to show, in ms after
//                         the call of ListLoadW: until it returned and the
//                         window was painted, until the first card was
//                         painted, and until the file was read whole
//   kontaktel-host --thumbnail WxH FILE OUT.png
//     saves the picture the file manager's thumbnail view would show
//     (ListGetPreviewBitmapW with the file's first 8 KiB), exit status 1 when
//     the plugin gives none
// Exit status: 0 when the plugin loaded the file (and the later calls
// succeeded), 1 when it declined or a later call failed, 2 on wrong usage or
// when the plugin cannot be loaded.
#include <windows.h>
// OLE, after the types of windows.h.
#include <ole2.h>

#include <cctype>
#include <cstdio>
#include <cwchar>
#include <string>
#include <type_traits>
#include <vector>

#include "load_watch.h"
#include "screenshot.h"

namespace {

using ListLoadW = HWND(__stdcall*)(HWND, const wchar_t*, int);
using ListLoadNextW = int(__stdcall*)(HWND, HWND, const wchar_t*, int);
using ListCloseWindow = void(__stdcall*)(HWND);
using ListGetDetectString = void(__stdcall*)(char*, int);
using ListSearchTextW = int(__stdcall*)(HWND, const wchar_t*, int);
using ListSendCommand = int(__stdcall*)(HWND, int, int);
using ListGetPreviewBitmapW = HBITMAP(__stdcall*)(wchar_t*, int, int, char*, int);

struct DefaultParams {
  int size;
  DWORD interfaceVersionLow;
  DWORD interfaceVersionHigh;
  char defaultIniName[260];
};
using ListSetDefaultParams = void(__stdcall*)(DefaultParams*);

struct Options {
  std::wstring file;
  std::wstring ini;
  std::wstring hostIni;
  int width = 900, height = 600;
  int flags = 0;
  std::wstring next;
  std::wstring search;
  std::wstring filter;
  bool hasSearch = false;
  bool timing = false;
  bool quickView = false;
  std::vector<std::wstring> more;  // the further files of the quick-view list
  int searchFlags = 1;
  std::wstring screenshot;
};

struct Plugin {
  HMODULE module = nullptr;
  ListLoadW load = nullptr;
  ListLoadNextW loadNext = nullptr;
  ListCloseWindow close = nullptr;
  ListGetDetectString detect = nullptr;
  ListSearchTextW search = nullptr;
  ListSendCommand command = nullptr;
  ListSetDefaultParams setDefaults = nullptr;
};

HWND listerChild = nullptr;

void Fail(const char* message) { std::fprintf(stderr, "kontaktel-host: %s\n", message); }

bool ParseOptions(int argc, wchar_t** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::wstring arg = argv[i];
    auto value = [&]() -> const wchar_t* { return i + 1 < argc ? argv[++i] : nullptr; };
    const wchar_t* v = nullptr;
    if (arg == L"--ini" && (v = value())) {
      options.ini = v;
    } else if (arg == L"--host-ini" && (v = value())) {
      options.hostIni = v;
    } else if (arg == L"--size" && (v = value())) {
      if (std::swscanf(v, L"%dx%d", &options.width, &options.height) != 2 || options.width < 1 ||
          options.height < 1) {
        return false;
      }
    } else if (arg == L"--flags" && (v = value())) {
      options.flags = static_cast<int>(std::wcstol(v, nullptr, 0));
    } else if (arg == L"--next" && (v = value())) {
      options.next = v;
    } else if (arg == L"--filter" && (v = value())) {
      options.filter = v;
    } else if (arg == L"--search" && (v = value())) {
      options.search = v;
      options.hasSearch = true;
    } else if (arg == L"--search-flags" && (v = value())) {
      options.searchFlags = static_cast<int>(std::wcstol(v, nullptr, 0));
    } else if (arg == L"--quickview") {
      options.quickView = true;
    } else if (arg == L"--timing") {
      options.timing = true;
    } else if (arg == L"--screenshot" && (v = value())) {
      options.screenshot = v;
    } else if (!arg.empty() && arg[0] != L'-' && options.file.empty()) {
      options.file = arg;
    } else if (!arg.empty() && arg[0] != L'-') {
      options.more.push_back(arg);
    } else {
      return false;
    }
  }
  return !options.file.empty() && (options.quickView || options.more.empty());
}

bool LoadPlugin(Plugin& plugin) {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path);
  folder.resize(folder.find_last_of(L"\\/") + 1);
  plugin.module = LoadLibraryW((folder + (sizeof(void*) == 8 ? L"kontaktel.wlx64" : L"kontaktel.wlx")).c_str());
  if (plugin.module == nullptr) return false;
  auto get = [&](auto& function, const char* name) {
    function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(
        reinterpret_cast<void*>(GetProcAddress(plugin.module, name)));
    return function != nullptr;
  };
  return get(plugin.load, "ListLoadW") && get(plugin.loadNext, "ListLoadNextW") &&
         get(plugin.close, "ListCloseWindow") && get(plugin.detect, "ListGetDetectString") &&
         get(plugin.search, "ListSearchTextW") && get(plugin.command, "ListSendCommand") &&
         get(plugin.setDefaults, "ListSetDefaultParams");
}

// The detect string is a list of EXT="X" terms joined by |: enough for this host.
bool DetectStringAccepts(const std::string& detect, const std::wstring& file) {
  const size_t dot = file.find_last_of(L'.');
  if (dot == std::wstring::npos) return false;
  std::string extension;
  for (wchar_t c : file.substr(dot + 1)) extension += static_cast<char>(c < 128 ? std::toupper(c) : '?');
  return detect.find("EXT=\"" + extension + "\"") != std::string::npos;
}

std::string WideToAnsi(const std::wstring& text) {
  const int needed = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  if (needed <= 0) return {};
  std::string ansi(static_cast<size_t>(needed), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, ansi.data(), needed, nullptr, nullptr);
  ansi.resize(static_cast<size_t>(needed) - 1);
  return ansi;
}

LRESULT CALLBACK HostWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      // The host keeps the plugin's window filling its client area.
      if (listerChild != nullptr) MoveWindow(listerChild, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) {
        DestroyWindow(window);
        return 0;
      }
      break;
    case WM_SETFOCUS:
      if (listerChild != nullptr) SetFocus(listerChild);
      return 0;
    case WM_CLOSE: DestroyWindow(window); return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void PumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

// Quick view, as the file manager shows a file in one of its panels: the
// viewer's parent is a child window, and the focus stays in the file list.
struct QuickView {
  const Plugin* plugin = nullptr;
  int flags = 0;
  std::vector<std::wstring> files;
  HWND list = nullptr, panel = nullptr, viewer = nullptr;
  int failures = 0;
};
QuickView quick;
constexpr int kFileListId = 100;

void FitViewerToPanel() {
  RECT client{};
  GetClientRect(quick.panel, &client);
  if (quick.viewer != nullptr) MoveWindow(quick.viewer, 0, 0, client.right, client.bottom, TRUE);
}

// The next file goes into the same viewer; when the plugin refuses it, the
// host closes the viewer and loads the file anew, as the file manager does.
void ShowInPanel(size_t index) {
  const wchar_t* file = quick.files[index].c_str();
  if (quick.viewer != nullptr) {
    const int result = quick.plugin->loadNext(quick.panel, quick.viewer, file, quick.flags);
    std::printf("next: %d\n", result);
    if (result == 0) return;
    quick.plugin->close(quick.viewer);
  }
  quick.viewer = quick.plugin->load(quick.panel, file, quick.flags);
  std::printf("load: %s\n", quick.viewer != nullptr ? "ok" : "declined");
  if (quick.viewer == nullptr) ++quick.failures;
  FitViewerToPanel();
}

LRESULT CALLBACK PanelWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SIZE) FitViewerToPanel();
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK QuickViewWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE: {
      const int width = LOWORD(lParam), height = HIWORD(lParam), listWidth = width / 4;
      MoveWindow(quick.list, 0, 0, listWidth, height, TRUE);
      MoveWindow(quick.panel, listWidth + 4, 0, width - listWidth - 4, height, TRUE);
      return 0;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == kFileListId && HIWORD(wParam) == LBN_SELCHANGE) {
        const LRESULT index = SendMessageW(quick.list, LB_GETCURSEL, 0, 0);
        if (index >= 0 && static_cast<size_t>(index) < quick.files.size())
          ShowInPanel(static_cast<size_t>(index));
        return 0;
      }
      break;
    case WM_SETFOCUS: SetFocus(quick.list); return 0;
    case WM_CLOSE: DestroyWindow(window); return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

HWND CreateQuickView(const Options& options, const Plugin& plugin) {
  quick.plugin = &plugin;
  quick.flags = options.flags;
  quick.files.push_back(options.file);
  quick.files.insert(quick.files.end(), options.more.begin(), options.more.end());
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW windowClass{};
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  windowClass.lpfnWndProc = QuickViewWndProc;
  windowClass.lpszClassName = L"KontaktelQuickView";
  RegisterClassW(&windowClass);
  windowClass.lpfnWndProc = PanelWndProc;
  windowClass.lpszClassName = L"KontaktelPanel";
  RegisterClassW(&windowClass);
  RECT frame{0, 0, options.width, options.height};
  AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
  const HWND main = CreateWindowExW(0, L"KontaktelQuickView", L"Quick view", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                    0, 0, frame.right - frame.left, frame.bottom - frame.top, nullptr,
                                    nullptr, instance, nullptr);
  if (main == nullptr) return nullptr;
  quick.list = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"",
                               WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, 0,
                               0, 0, 0, main, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFileListId)),
                               instance, nullptr);
  SendMessageW(quick.list, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  for (const std::wstring& file : quick.files) {
    const size_t slash = file.find_last_of(L"\\/");
    SendMessageW(quick.list, LB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(file.c_str() + (slash == std::wstring::npos ? 0 : slash + 1)));
  }
  SendMessageW(quick.list, LB_SETCURSEL, 0, 0);
  quick.panel = CreateWindowExW(WS_EX_CLIENTEDGE, L"KontaktelPanel", L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                                0, 0, 0, 0, main, nullptr, instance, nullptr);
  ShowWindow(main, SW_SHOW);
  SetFocus(quick.list);
  ShowInPanel(0);
  return main;
}

// Walks the list to its end and back to the first file, as a user does with
// the arrow keys, checking after each step that the focus stayed in the list.
void WalkQuickView(HWND main) {
  std::vector<size_t> steps;
  for (size_t i = 1; i < quick.files.size(); ++i) steps.push_back(i);
  if (!steps.empty()) steps.push_back(0);
  for (const size_t index : steps) {
    SendMessageW(quick.list, LB_SETCURSEL, index, 0);
    SendMessageW(main, WM_COMMAND, MAKEWPARAM(kFileListId, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(quick.list));
    PumpMessages();
  }
  const bool kept = GetFocus() == quick.list;
  std::printf("focus: %s\n", kept ? "list" : "lost");
  if (!kept) ++quick.failures;
}

// With --screenshot, saves what the window shows (2 when it cannot); else runs
// the message loop until the window is closed.
int ScreenshotOrLoop(HWND window, const Options& options) {
  if (options.screenshot.empty()) {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    return 0;
  }
  // The picture shows the whole file: the viewer reads it first.
  for (const HWND viewer : {listerChild, quick.viewer}) {
    if (viewer != nullptr && IsWindow(viewer)) WatchLoad(viewer, [] { return 0.0; });
  }
  UpdateWindow(window);
  PumpMessages();
  if (SaveWindowPng(window, options.screenshot)) return 0;
  Fail("cannot save the screenshot");
  return 2;
}

int RunQuickView(const Options& options, const Plugin& plugin) {
  const HWND main = CreateQuickView(options, plugin);
  if (main == nullptr) {
    Fail("cannot create the host window");
    return 2;
  }
  PumpMessages();
  if (!options.screenshot.empty()) WalkQuickView(main);
  const int status = ScreenshotOrLoop(main, options);
  std::fflush(stdout);
  if (quick.viewer != nullptr && IsWindow(quick.viewer)) plugin.close(quick.viewer);
  quick.viewer = nullptr;
  if (IsWindow(main)) DestroyWindow(main);
  PumpMessages();
  return status != 0 ? status : (quick.failures != 0 ? 1 : 0);
}

int Run(const Options& options) {
  Plugin plugin;
  if (!LoadPlugin(plugin)) {
    Fail("cannot load kontaktel.wlx64 from the program's folder");
    return 2;
  }
  char detect[1024] = {};
  plugin.detect(detect, sizeof detect);
  if (!DetectStringAccepts(detect, options.file)) {
    std::fprintf(stderr, "kontaktel-host: the plugin's detect string (%s) does not accept this file\n", detect);
    FreeLibrary(plugin.module);
    return 1;
  }
  // As the file manager does: its main INI is in the environment the plugin
  // inherits, and the plugins' own file is the one it names.
  if (!options.hostIni.empty()) SetEnvironmentVariableW(L"COMMANDER_INI", options.hostIni.c_str());
  if (!options.ini.empty()) {
    DefaultParams params{};
    params.size = sizeof params;
    params.interfaceVersionHigh = 2;
    params.interfaceVersionLow = 12;
    const std::string ini = WideToAnsi(options.ini);
    std::snprintf(params.defaultIniName, sizeof params.defaultIniName, "%s", ini.c_str());
    plugin.setDefaults(&params);
  }
  if (options.quickView) {
    const int status = RunQuickView(options, plugin);
    FreeLibrary(plugin.module);
    return status;
  }

  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = HostWndProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
  windowClass.lpszClassName = L"KontaktelHost";
  RegisterClassW(&windowClass);
  RECT frame{0, 0, options.width, options.height};
  AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
  const HWND host = CreateWindowExW(0, L"KontaktelHost", (L"Lister - " + options.file).c_str(),
                                    WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, frame.right - frame.left,
                                    frame.bottom - frame.top, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (host == nullptr) {
    Fail("cannot create the host window");
    return 2;
  }

  int status = 0;
  LARGE_INTEGER frequency{}, started{}, shown{};
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&started);
  listerChild = plugin.load(host, options.file.c_str(), options.flags);
  std::printf("load: %s\n", listerChild != nullptr ? "ok" : "declined");
  if (listerChild == nullptr) status = 1;
  ShowWindow(host, SW_SHOW);
  RECT client{};
  GetClientRect(host, &client);
  if (listerChild != nullptr) MoveWindow(listerChild, 0, 0, client.right, client.bottom, TRUE);
  UpdateWindow(host);
  if (listerChild != nullptr) RedrawWindow(listerChild, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  QueryPerformanceCounter(&shown);
  if (options.timing) {
    const auto since = [&](LARGE_INTEGER now) {
      return 1000.0 * static_cast<double>(now.QuadPart - started.QuadPart) /
             static_cast<double>(frequency.QuadPart);
    };
    std::printf("shown: %.1f ms\n", since(shown));
    if (listerChild != nullptr) {
      const LoadTimes times = WatchLoad(listerChild, [&] {
        LARGE_INTEGER now{};
        QueryPerformanceCounter(&now);
        return since(now);
      });
      std::printf("first card painted: %.1f ms\nloading finished: %.1f ms\n", times.firstCard,
                  times.loaded);
    }
  }
  if (listerChild != nullptr && !options.next.empty()) {
    const int result = plugin.loadNext(host, listerChild, options.next.c_str(), options.flags);
    std::printf("next: %d\n", result);
    if (result != 0) status = 1;
  }
  if (listerChild != nullptr && !options.filter.empty()) {
    // As the user types it: the edit tells the viewer with EN_CHANGE.
    SetWindowTextW(GetDlgItem(listerChild, 1010), options.filter.c_str());
  }
  if (listerChild != nullptr && options.hasSearch) {
    const int result = plugin.search(listerChild, options.search.c_str(), options.searchFlags);
    std::printf("search: %d\n", result);
    if (result != 0) status = 1;
  }
  std::fflush(stdout);

  if (const int saved = ScreenshotOrLoop(host, options); saved != 0) status = saved;
  if (listerChild != nullptr && IsWindow(listerChild)) plugin.close(listerChild);
  listerChild = nullptr;
  if (IsWindow(host)) DestroyWindow(host);
  PumpMessages();
  FreeLibrary(plugin.module);
  return status;
}

// The file manager passes the file's first 8 KiB along with its name.
int RunThumbnail(const wchar_t* size, const wchar_t* file, const wchar_t* out) {
  int width = 0, height = 0;
  if (std::swscanf(size, L"%dx%d", &width, &height) != 2 || width < 1 || height < 1) return 2;
  Plugin plugin;
  if (!LoadPlugin(plugin)) {
    Fail("cannot load kontaktel.wlx64 from the program's folder");
    return 2;
  }
  const auto preview = reinterpret_cast<ListGetPreviewBitmapW>(
      reinterpret_cast<void*>(GetProcAddress(plugin.module, "ListGetPreviewBitmapW")));
  std::vector<char> head(8192);
  DWORD read = 0;
  HANDLE handle = CreateFileW(file, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (handle != INVALID_HANDLE_VALUE) {
    if (!ReadFile(handle, head.data(), static_cast<DWORD>(head.size()), &read, nullptr)) read = 0;
    CloseHandle(handle);
  }
  std::wstring name = file;
  HBITMAP bitmap = preview != nullptr ? preview(name.data(), width, height, head.data(), static_cast<int>(read)) : nullptr;
  int status = 1;
  if (bitmap != nullptr) {
    BITMAP info{};
    GetObjectW(bitmap, sizeof info, &info);
    std::printf("thumbnail: %ldx%ld\n", info.bmWidth, info.bmHeight);
    status = SaveBitmapPng(bitmap, out) ? 0 : 2;
    if (status != 0) Fail("cannot save the thumbnail");
    DeleteObject(bitmap);
  } else {
    std::printf("thumbnail: none\n");
  }
  FreeLibrary(plugin.module);
  return status;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 5 && std::wstring(argv[1]) == L"--thumbnail") return RunThumbnail(argv[2], argv[3], argv[4]);
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::fputs(
        "usage: kontaktel-host [--ini PATH] [--host-ini PATH] [--size WxH] [--flags N] [--next FILE]\n"
        "                      [--search TEXT] [--search-flags N] [--filter TEXT]\n"
        "                      [--screenshot OUT.png]\n"
        "                      [--timing] FILE\n"
        "       kontaktel-host --quickview [options] FILE [NEXT...]\n"
        "       kontaktel-host --thumbnail WxH FILE OUT.png\n",
        stderr);
    return 2;
  }
  // The file manager runs its window thread with OLE started (for drag and
  // drop); screen readers reach the viewer's list through it.
  const HRESULT ole = OleInitialize(nullptr);
  const int status = Run(options);
  if (SUCCEEDED(ole)) OleUninitialize();
  return status;
}
