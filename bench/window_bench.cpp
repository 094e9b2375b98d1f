// kontaktel-window-bench: how fast the real viewer window answers the user on
// a large file, under Wine. It loads kontaktel.wlx64 from its own folder like
// a host, opens each file in a window of 900 x 600, and times, in ms after
// ListLoadW, when it returned with the window painted ("shown"), when the first
// card was painted and when the file was read whole (the viewer reads it
// behind the window); then, each including the repaint of everything that
// changed:
//   - one filter keystroke: the edit's text set (which filters at once), then
//     the window and its children painted; needles typed letter by letter and
//     taken back again, the first keystroke (which folds every card's texts
//     once) reported apart;
//   - one Page Down in the full list, from the top to far down;
//   - one wheel notch over the details column on a card with a 3,000-line
//     note and on a card of 12 lines (written by the bench itself), and their
//     ratio (target 1.5 in a viewer where both scroll): a notch must not cost
//     more for a longer text.
// It prints the median and maximum of each; the figures are for reading, no
// limit is checked here. With --parts it also prints where a keystroke's time
// goes: painting the viewer alone, painting everything, one layout (WM_SIZE),
// and a Down key without its repaint (selection, details and layout).
//   kontaktel-window-bench [--runs N] [--parts] [FILE...]   (without FILE: the wheel figure alone)
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "load_watch.h"

namespace {

using Clock = std::chrono::steady_clock;
using ListLoadW = HWND(__stdcall*)(HWND, const wchar_t*, int);
using ListCloseWindow = void(__stdcall*)(HWND);

constexpr int kFilterEditId = 1010;

double Milliseconds(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

double Max(const std::vector<double>& values) {
  return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
}

void Pump() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

// Paints whatever the last input made invalid, the child controls included.
void PaintNow(HWND viewer) {
  RedrawWindow(viewer, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

// A file with one card: a 3,000-line note, or a card of 12 detail lines.
std::wstring WriteCardFile(bool longNote) {
  std::string card = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Wheel Bench\r\n";
  if (longNote) {
    card += "NOTE:";
    for (int i = 0; i < 3000; ++i) card += "Meeting notes, line " + std::to_string(i) + "\\n";
    card += "\r\n";
  } else {
    card +=
        "N:Bench;Wheel;;;\r\nORG:Example Ltd\r\nTITLE:Engineer\r\n"
        "TEL;TYPE=CELL:+1 555 0100\r\nTEL;TYPE=WORK:+1 555 0101\r\n"
        "TEL;TYPE=HOME:+1 555 0102\r\nEMAIL;TYPE=WORK:wheel@example.com\r\n"
        "EMAIL;TYPE=HOME:bench@example.org\r\nADR;TYPE=WORK:;;1 Main St;Springfield;;12345;US\r\n"
        "URL:https://example.com\r\nBDAY:1980-01-02\r\n";
  }
  card += "END:VCARD\r\n";
  wchar_t folder[MAX_PATH] = {}, path[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, folder);
  GetTempFileNameW(folder, L"kwb", 0, path);
  const HANDLE file =
      CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  WriteFile(file, card.data(), static_cast<DWORD>(card.size()), &written, nullptr);
  CloseHandle(file);
  return path;
}

// The median of wheel notches over the details column of a viewer `height`
// pixels high, each with its repaint: from the middle of the text, one notch
// down and one up in turn, so that every notch scrolls.
double WheelNotchMs(ListLoadW load, ListCloseWindow close, HWND host, bool longNote, int height,
                    int runs) {
  const std::wstring path = WriteCardFile(longNote);
  const HWND viewer = load(host, path.c_str(), 0);
  std::vector<double> notches;
  if (viewer != nullptr) {
    WatchLoad(viewer, [] { return 0.0; });
    MoveWindow(viewer, 0, 0, 900, height, TRUE);
    PaintNow(viewer);
    POINT over{700, height / 2};
    ClientToScreen(viewer, &over);
    const auto wheel = [&](int delta) {
      SendMessageW(viewer, WM_MOUSEWHEEL, MAKEWPARAM(0, delta), MAKELPARAM(over.x, over.y));
    };
    // To the middle: the long note's, or the short card's one notch down.
    for (int i = 0; i < (longNote ? 600 : 1); ++i) wheel(-WHEEL_DELTA);
    PaintNow(viewer);
    for (int i = 0; i < 60 * runs; ++i) {
      const auto notch = Clock::now();
      wheel(i % 2 == 0 ? -WHEEL_DELTA : WHEEL_DELTA);
      PaintNow(viewer);
      notches.push_back(Milliseconds(notch));
    }
    close(viewer);
  }
  DeleteFileW(path.c_str());
  return Median(notches);
}

// Both cards in a viewer where both scroll, and in the usual 900 x 600 one,
// where the short card does not scroll at all.
void PrintWheel(ListLoadW load, ListCloseWindow close, HWND host, int runs) {
  for (const int height : {150, 600}) {
    const double longNotch = WheelNotchMs(load, close, host, true, height, runs);
    const double shortNotch = WheelNotchMs(load, close, host, false, height, runs);
    std::printf("wheel notch at 900x%d: 3,000-line note %.2fms, 12-line card %.2fms, ratio %.2f\n",
                height, longNotch, shortNotch, shortNotch > 0 ? longNotch / shortNotch : 0.0);
  }
}

std::wstring PluginPath() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path);
  folder.resize(folder.find_last_of(L"\\/") + 1);
  return folder + L"kontaktel.wlx64";
}

// One file: its load, filter keystrokes and Page Downs as a row of the table,
// and with `parts` where a keystroke's time goes. False when it cannot run.
bool BenchFile(ListLoadW load, ListCloseWindow close, HWND host, const wchar_t* file, int runs,
               bool parts) {
  auto start = Clock::now();
  const HWND viewer = load(host, file, 0);
  if (viewer == nullptr) {
    std::fprintf(stderr, "kontaktel-window-bench: the plugin declined the file\n");
    return false;
  }
  MoveWindow(viewer, 0, 0, 900, 600, TRUE);
  PaintNow(viewer);
  const double shownMs = Milliseconds(start);
  const LoadTimes times = WatchLoad(viewer, [&] { return Milliseconds(start); });
  const HWND edit = GetDlgItem(viewer, kFilterEditId);
  if (edit == nullptr) {
    std::fprintf(stderr, "kontaktel-window-bench: the window has no filter edit\n");
    return false;
  }

  // What people type, letter by letter, then taken back letter by letter.
  const wchar_t* const words[] = {L"anna", L"smith", L"иван", L"gmail", L"+49", L"berlin", L"xyz"};
  auto type = [&](const std::wstring& text) {
    const auto keystroke = Clock::now();
    SetWindowTextW(edit, text.c_str());
    PaintNow(viewer);
    return Milliseconds(keystroke);
  };
  const double firstMs = type(L"a");
  type(L"");
  std::vector<double> keystrokes;
  for (int run = 0; run < runs; ++run) {
    for (const wchar_t* word : words) {
      const std::wstring full(word);
      for (size_t length = 1; length <= full.size(); ++length)
        keystrokes.push_back(type(full.substr(0, length)));
      for (size_t length = full.size(); length-- > 0;)
        keystrokes.push_back(type(full.substr(0, length)));
    }
  }

  std::vector<double> pageDowns;
  for (int run = 0; run < runs; ++run) {
    SendMessageW(viewer, WM_KEYDOWN, VK_HOME, 0);
    PaintNow(viewer);
    for (int i = 0; i < 40; ++i) {
      const auto key = Clock::now();
      SendMessageW(viewer, WM_KEYDOWN, VK_NEXT, 0);
      PaintNow(viewer);
      pageDowns.push_back(Milliseconds(key));
    }
  }
  Pump();
  const wchar_t* name = file;
  for (const wchar_t* p = file; *p; ++p) {
    if (*p == L'\\' || *p == L'/') name = p + 1;
  }
  std::printf("%-22ls %7.1fms %7.1fms %7.1fms %7.1fms %7.2fms %7.2fms %7.2fms %7.2fms\n", name,
              shownMs, times.firstCard, times.loaded, firstMs, Median(keystrokes), Max(keystrokes),
              Median(pageDowns), Max(pageDowns));
  if (parts) {
    auto timeIt = [&](const char* what, auto&& action) {
      std::vector<double> samples;
      for (int i = 0; i < 20; ++i) {
        const auto t = Clock::now();
        action();
        samples.push_back(Milliseconds(t));
        PaintNow(viewer);  // what is left to paint is not this sample's
      }
      std::printf("  %-26s %7.2fms\n", what, Median(samples));
    };
    timeIt("paint the viewer", [&] {
      InvalidateRect(viewer, nullptr, FALSE);
      UpdateWindow(viewer);
    });
    timeIt("paint all", [&] {
      RedrawWindow(viewer, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    });
    timeIt("layout", [&] { SendMessageW(viewer, WM_SIZE, 0, MAKELPARAM(900, 600)); });
    timeIt("layout and paint", [&] {
      SendMessageW(viewer, WM_SIZE, 0, MAKELPARAM(900, 600));
      PaintNow(viewer);
    });
    timeIt("Down without paint", [&] { SendMessageW(viewer, WM_KEYDOWN, VK_DOWN, 0); });
  }

  close(viewer);
  return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  int runs = 3;
  bool parts = false;
  std::vector<const wchar_t*> files;
  for (int i = 1; i < argc; ++i) {
    if (std::wcscmp(argv[i], L"--parts") == 0) {
      parts = true;
    } else if (std::wcscmp(argv[i], L"--runs") == 0 && i + 1 < argc) {
      runs = std::max(1, _wtoi(argv[++i]));
    } else {
      files.push_back(argv[i]);
    }
  }
  // The load's progress is read as a screen reader reads it, through OLE.
  OleInitialize(nullptr);
  const HMODULE plugin = LoadLibraryW(PluginPath().c_str());
  if (plugin == nullptr) {
    std::fprintf(stderr, "kontaktel-window-bench: cannot load the plugin\n");
    return 2;
  }
  const auto load =
      reinterpret_cast<ListLoadW>(reinterpret_cast<void*>(GetProcAddress(plugin, "ListLoadW")));
  const auto close = reinterpret_cast<ListCloseWindow>(
      reinterpret_cast<void*>(GetProcAddress(plugin, "ListCloseWindow")));
  const HWND host = CreateWindowExW(0, L"STATIC", L"Lister", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                    920, 640, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  Pump();
  int status = 0;
  if (!files.empty()) {
    std::printf("%-22s %9s %9s %9s %9s %9s %9s %9s %9s\n", "file", "shown", "1st card", "loaded",
                "1st key", "key med", "key max", "pgdn med", "pgdn max");
  }
  for (const wchar_t* file : files) {
    if (!BenchFile(load, close, host, file, runs, parts)) status = 1;
  }
  PrintWheel(load, close, host, runs);
  DestroyWindow(host);
  FreeLibrary(plugin);
  return status;
}

