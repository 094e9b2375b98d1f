#include "support/viewer_driver.h"

// These need the types of windows.h.
#include <commctrl.h>
#include <richedit.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace kontaktel::test {

namespace {

std::wstring Wide(const std::string& utf8) {
  std::wstring text(utf8.size(), L'\0');
  text.resize(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, utf8.data(),
                                                      static_cast<int>(utf8.size()), text.data(),
                                                      static_cast<int>(text.size()))));
  return text;
}

std::string Utf8(const std::wstring& text) {
  std::string bytes(text.size() * 4, '\0');
  bytes.resize(static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, text.data(),
                                                       static_cast<int>(text.size()), bytes.data(),
                                                       static_cast<int>(bytes.size()), nullptr,
                                                       nullptr)));
  return bytes;
}

// What the menu timer does while a menu is tracked: the menu loop dispatches
// thread timers and reads keys from the queue.
struct MenuPlan {
  int choose = 0;
  std::vector<std::wstring> items;
  std::function<void()> during;
  int ticks = 0;
} plan;

void CALLBACK OnMenuTimer(HWND, UINT, UINT_PTR timer, DWORD) {
  const HWND menuWindow = FindWindowW(L"#32768", nullptr);
  if ((menuWindow == nullptr || !IsWindowVisible(menuWindow)) && ++plan.ticks < 40) return;
  KillTimer(nullptr, timer);
  if (menuWindow == nullptr) return;
  const auto menu = reinterpret_cast<HMENU>(SendMessageW(menuWindow, 0x01E1 /* MN_GETHMENU */, 0, 0));
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    wchar_t text[128] = {};
    GetMenuStringW(menu, static_cast<UINT>(i), text, 128, MF_BYPOSITION);
    plan.items.push_back(text);
  }
  if (plan.during) plan.during();
  HWND target = GetFocus();
  if (target == nullptr) target = menuWindow;
  for (int i = 0; i < plan.choose; ++i) PostMessageW(target, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageW(target, WM_KEYDOWN, plan.choose == 0 ? VK_ESCAPE : VK_RETURN, 0);
}

}  // namespace

std::optional<std::wstring> ClipboardText() {
  if (!OpenClipboard(nullptr)) return std::nullopt;
  std::optional<std::wstring> text;
  if (const HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = chars;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

void PutClipboardMarker() {
  const std::wstring marker = L"what the user had";
  const size_t bytes = (marker.size() + 1) * sizeof(wchar_t);
  const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  std::memcpy(GlobalLock(memory), marker.c_str(), bytes);
  GlobalUnlock(memory);
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  SetClipboardData(CF_UNICODETEXT, memory);
  CloseClipboard();
}

RECT ChildRect(HWND child) {
  RECT rect{};
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

std::vector<HWND> ScrollBars(HWND viewer) {
  std::vector<HWND> bars;
  for (HWND child = GetWindow(viewer, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t name[32] = {};
    GetClassNameW(child, name, 32);
    if (lstrcmpiW(name, L"SCROLLBAR") == 0) bars.push_back(child);
  }
  return bars;
}

COLORREF PrintedPixel(HWND window, int x, int y) {
  RECT client{};
  GetClientRect(window, &client);
  const HDC screen = GetDC(window);
  const HDC memory = CreateCompatibleDC(screen);
  const HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
  const HGDIOBJ old = SelectObject(memory, bitmap);
  SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
  const COLORREF color = GetPixel(memory, x, y);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(window, screen);
  return color;
}

struct TooltipSearch {
  HWND viewer, found;
};

// EnumThreadWindows' callback: a __stdcall function, which a lambda is not on
// 32-bit Windows.
BOOL CALLBACK FindViewerTooltip(HWND window, LPARAM data) {
  auto* s = reinterpret_cast<TooltipSearch*>(data);
  wchar_t name[32] = {};
  GetClassNameW(window, name, 32);
  if (lstrcmpiW(name, TOOLTIPS_CLASSW) != 0) return TRUE;
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = s->viewer;
  tool.uId = 1;
  if (!SendMessageW(window, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool))) return TRUE;
  s->found = window;
  return FALSE;
}

HWND ViewerTooltip(HWND viewer) {
  TooltipSearch search{viewer, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), FindViewerTooltip, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::wstring DetailsText(HWND view) {
  std::wstring text(65536, L'\0');
  GETTEXTEX query{};
  query.cb = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  query.flags = GT_USECRLF;
  query.codepage = 1200;
  text.resize(static_cast<size_t>(SendMessageW(view, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&query),
                                               reinterpret_cast<LPARAM>(text.data()))));
  return text;
}

LONG FindInDetails(HWND view, const std::wstring& text) {
  FINDTEXTEXW find{{0, -1}, text.c_str(), {}};
  return static_cast<LONG>(
      SendMessageW(view, EM_FINDTEXTEXW, 1 /* FR_DOWN */, reinterpret_cast<LPARAM>(&find)));
}

LPARAM PackPoint(int x, int y) {
  return static_cast<LPARAM>(static_cast<uint16_t>(static_cast<int16_t>(x))) |
         (static_cast<LPARAM>(static_cast<uint16_t>(static_cast<int16_t>(y))) << 16);
}

void PressCtrl(bool down) {
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_CONTROL] = down ? 0x80 : 0;
  SetKeyboardState(keys);
}

std::wstring Unescape(const std::string& utf8) {
  std::string bytes;
  for (size_t i = 0; i < utf8.size(); ++i) {
    if (utf8[i] != '\\' || i + 1 == utf8.size()) {
      bytes += utf8[i];
      continue;
    }
    const char next = utf8[++i];
    bytes += next == 't' ? '\t' : next == 'r' ? '\r' : next == 'n' ? '\n' : next;
  }
  return Wide(bytes);
}

std::vector<std::wstring> RunMenu(const std::function<void()>& open, int choose,
                                  const std::function<void()>& during) {
  plan = MenuPlan{choose, {}, during, 0};
  SetTimer(nullptr, 0, 50, OnMenuTimer);
  open();
  PluginTest::Pump();
  return plan.items;
}

bool AMenuOpensNow() {
  plan = MenuPlan{};
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, OnMenuTimer);
  const DWORD until = GetTickCount() + 400;
  while (GetTickCount() < until) {
    PluginTest::Pump();
    Sleep(10);
  }
  KillTimer(nullptr, timer);
  return !plan.items.empty();
}

void PluginTest::SetUp() {
  module_ = LoadLibraryW(KONTAKTEL_PLUGIN_PATH);
  ASSERT_NE(module_, nullptr) << "cannot load " << Utf8(KONTAKTEL_PLUGIN_PATH);
  Get(startLoadW_, "ListLoadW");
  Get(startLoad_, "ListLoad");
  Get(startLoadNextW_, "ListLoadNextW");
  Get(startLoadNext_, "ListLoadNext");
  Get(finishLoading_, "KontaktelFinishLoading");
  Get(setLoadSeams_, "KontaktelSetLoadSeams");
  listLoadW_ = LoadWhole;
  listLoad_ = LoadWholeAnsi;
  listLoadNextW_ = LoadNextWhole;
  listLoadNext_ = LoadNextWholeAnsi;
  Get(listCloseWindow_, "ListCloseWindow");
  Get(listGetDetectString_, "ListGetDetectString");
  Get(listGetDetectStringW_, "ListGetDetectStringW");
  Get(listSearchTextW_, "ListSearchTextW");
  Get(listSearchText_, "ListSearchText");
  Get(listSendCommand_, "ListSendCommand");
  Get(listSetDefaultParams_, "ListSetDefaultParams");
  Get(diagnostics_, "KontaktelGetDiagnostics");
  Get(listView_, "KontaktelGetListView");
  Get(listRow_, "KontaktelGetListRow");
  Get(setSeams_, "KontaktelSetSeams");
  Get(postPhoto_, "KontaktelPostPhoto");
  static int folders = 0;
  folder_ = std::filesystem::temp_directory_path() /
            ("kontaktel-files-" + std::to_string(GetCurrentProcessId()) + "-" +
             std::to_string(++folders));
  ASSERT_NE(parent_, nullptr);
  SetForegroundWindow(parent_);
}

HWND __stdcall PluginTest::LoadWhole(HWND parent, const wchar_t* name, int flags) {
  const HWND viewer = startLoadW_(parent, name, flags);
  finishLoading_(viewer);
  return viewer;
}

HWND __stdcall PluginTest::LoadWholeAnsi(HWND parent, const char* name, int flags) {
  const HWND viewer = startLoad_(parent, name, flags);
  finishLoading_(viewer);
  return viewer;
}

int __stdcall PluginTest::LoadNextWhole(HWND parent, HWND viewer, const wchar_t* name, int flags) {
  const int result = startLoadNextW_(parent, viewer, name, flags);
  finishLoading_(viewer);
  return result;
}

int __stdcall PluginTest::LoadNextWholeAnsi(HWND parent, HWND viewer, const char* name, int flags) {
  const int result = startLoadNext_(parent, viewer, name, flags);
  finishLoading_(viewer);
  return result;
}

void PluginTest::TearDown() {
  // Viewers left open by a test go before the module does.
  while (HWND child = GetWindow(parent_, GW_CHILD)) DestroyWindow(child);
  Pump();
  PressCtrl(false);
  if (module_ != nullptr) FreeLibrary(module_);
  SetEnvironmentVariableW(L"COMMANDER_INI", nullptr);
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

void PluginTest::SetUpTestSuite() {
  parent_ = CreateWindowExW(0, L"STATIC", L"Lister", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800,
                            600, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

void PluginTest::TearDownTestSuite() {
  DestroyWindow(parent_);
  parent_ = nullptr;
}

void PluginTest::Pump() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

KontaktelDiagnostics PluginTest::Diagnostics(HWND window) const {
  KontaktelDiagnostics record{};
  record.size = sizeof record;
  diagnostics_(window, &record);
  return record;
}

KontaktelListView PluginTest::ListView(HWND viewer) const {
  KontaktelListView record{};
  record.size = sizeof record;
  EXPECT_TRUE(listView_(viewer, &record));
  return record;
}

std::optional<KontaktelListRow> PluginTest::ListRow(HWND viewer, int pageRow) const {
  KontaktelListRow record{};
  record.size = sizeof record;
  if (!listRow_(viewer, pageRow, &record)) return std::nullopt;
  return record;
}

std::vector<std::wstring> PluginTest::Names(HWND viewer) const {
  std::vector<std::wstring> names;
  for (int i = 0; auto row = ListRow(viewer, i); ++i) names.push_back(row->name);
  return names;
}

void PluginTest::SetIni(const std::string& path) {
  DefaultParams params{};
  params.size = sizeof params;
  params.interfaceVersionHigh = 2;
  params.interfaceVersionLow = 12;
  std::snprintf(params.defaultIniName, sizeof params.defaultIniName, "%s", path.c_str());
  listSetDefaultParams_(&params);
}

void PluginTest::UseIni(const std::string& contents) {
  files_.push_back(std::make_unique<TempFile>(contents, L".ini"));
  iniPath_ = files_.back()->Path();
  SetIni(Narrow(iniPath_));
}

HWND PluginTest::Open(std::string_view bytes, int flags, int width, int height, HWND host) {
  files_.push_back(std::make_unique<TempFile>(bytes));
  const HWND viewer = Load(*files_.back(), flags, host);
  if (viewer != nullptr) {
    MoveWindow(viewer, 0, 0, width, height, TRUE);
    Paint(viewer);
    Pump();
  }
  return viewer;
}

void PluginTest::Paint(HWND viewer) {
  InvalidateRect(viewer, nullptr, FALSE);
  UpdateWindow(viewer);
}

int PluginTest::PostedToHost(HWND host) {
  MSG message;  // WM_PAINT stays queued until painted: not asked for
  bool escape = false, close = false, any = false;
  while (PeekMessageW(&message, host, 0, WM_PAINT - 1, PM_REMOVE) ||
         PeekMessageW(&message, host, WM_PAINT + 1, 0xFFFF, PM_REMOVE)) {
    escape |= message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE;
    close |= message.message == WM_CLOSE;
    any = true;
  }
  return escape && close ? 1 : any ? -1 : 0;
}

HWND PluginTest::QuickViewPanel() {
  const auto child = [](const wchar_t* className, int x, int width) {
    return CreateWindowExW(0, className, L"", WS_CHILD | WS_VISIBLE, x, 0, width, 600, parent_,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
  };
  fileList_ = child(L"LISTBOX", 0, 200);
  SetFocus(fileList_);
  return child(L"STATIC", 200, 600);
}

// A scenario is a text file of steps, one a line ('#' starts a comment).
// Actions:
//   ini TEXT                 an INI file with TEXT (escapes \t \r \n) for the host
//   open FIXTURE [WxH] [flags N] [keep] [panel]   a file of tests/data (numbered:N makes
//                            N cards "Card 000"...) in a viewer of 800x500 unless given;
//                            with keep, a second viewer while steps still go to the first;
//                            with panel, in a quick-view panel (QuickViewPanel)
//   file NAME TEXT           TEXT in the test's own folder, as NAME (may hold folders)
//   host-ini NAME | commander-ini NAME   the host names that file of the folder as
//                            its INI (ListSetDefaultParams) | in COMMANDER_INI
//   reload                   a fresh module, folder and environment, as for the next test
//   seams DPI [LINES|page]   every window's DPI (0: the system's), the wheel's lines per notch
//   photo FIXTURE            a photo download arrives for the selected card
//   next FIXTURE | close     ListLoadNextW into the viewer | ListCloseWindow
//   focus T                  T is viewer, edit, check or details
//   key [T] NAME [char|syskey]   a key to T (default the viewer), as WM_KEYDOWN
//                            or the named message; NAME is a key name or a letter
//   ctrl down|up             Ctrl held or released
//   click X Y | rclick X Y | move X Y | wheel X Y DELTA...   mouse in viewer coordinates
//   scroll CODE              the list's scroll bar (linedown, pageup, top, bottom...)
//   type TEXT | photo-only   the filter edit's text | a click on the photo-only box
//   search FLAGS TEXT | command N [HEX]   the host's search | ListSendCommand
//   drag FROM TO [lost]      the splitter dragged along y 200 (the capture lost on the way)
//   ini-set SECTION KEY VALUE | setting-change   the INI file changed | WM_SETTINGCHANGE
//   marker                   puts "what the user had" on the clipboard
//   select TEXT LENGTH       selects LENGTH characters from TEXT in the details
//   context X Y              WM_CONTEXTMENU from the mouse at a screen point
//   cursor X Y               the mouse pointer to a viewer point
//   menu HOW N               opens a menu and picks item N (0 cancels): HOW is list
//                            or details (the posted request), key or details-key
//                            (the context-menu key), rclick:X,Y, or on:TEXT (the
//                            right button on that text of the details)
// Expectations ("expect WHAT VALUE"): selected, top, page (rows per page),
// shown-row, rowcount, cards, matches, result (of the last search or command),
// row N NAME | DETAIL, shade N S, card N C (a page row's card), names A | B ...,
// status, clipboard TEXT, clipboard-file NAME (a golden file of tests/data),
// focus T (or list: the quick-view host's), menu A | B ..., menu-size N, no-menu,
// listbar|photo visible|hidden,
// tooltip TEXT, pixel X Y RRGGBB, not-pixel X Y RRGGBB, filter TEXT,
// found TEXT (the details' selection), found-visible, host-close [0] (the viewer's
// parent was asked to close | got nothing posted), state FIELD N (viewers,
// host-dark, dark, russian, list-width, photo-url, gdi-objects, details-scroll), ini
// SECTION KEY VALUE, details-file NAME (a golden file), colour RRGGBB TEXT (every
// character of TEXT in the details), background RRGGBB.
void PluginTest::RunScenario(const std::string& name) {
  std::istringstream lines(ReadFixture("scenarios/" + name));
  HWND viewer = nullptr;
  int result = 0;
  std::vector<std::wstring> menu;
  std::string line;
  for (int lineNumber = 1; std::getline(lines, line); ++lineNumber) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::istringstream words(line);
    std::string verb;
    if (!(words >> verb) || verb[0] == '#') continue;
    const std::string where = name + ":" + std::to_string(lineNumber) + ": " + line;
    // The rest of the line after the words read so far.
    const auto rest = [&] {
      std::string text;
      std::getline(words >> std::ws, text);
      return Unescape(text);
    };
    const auto window = [&](const std::string& target) {
      return target == "edit"      ? GetDlgItem(viewer, kFilterEditId)
             : target == "check"   ? GetDlgItem(viewer, kPhotoOnlyId)
             : target == "details" ? GetDlgItem(viewer, kDetailsId)
                                   : viewer;
    };
    const auto fixture = [&](const std::string& file) -> std::string {
      if (file.rfind("numbered:", 0) != 0) return ReadFixture(file);
      std::string text;
      for (int i = 0; i < std::stoi(file.substr(9)); ++i) {
        char card[128];
        std::snprintf(card, sizeof card,
                      "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Card %03d\r\nTEL:+1 555 %04d\r\nEND:VCARD\r\n",
                      i, i);
        text += card;
      }
      return text;
    };
    const auto listBar = [&]() -> HWND {
      for (const HWND bar : ScrollBars(viewer))
        if (ChildRect(bar).left < ChildRect(GetDlgItem(viewer, kDetailsId)).left) return bar;
      return nullptr;
    };
    const auto clientToScreen = [&](int x, int y) {
      POINT point{x, y};
      ClientToScreen(viewer, &point);
      return point;
    };
    const std::string noViewer =  // the steps that need no viewer
        " open ini ini-set expect file host-ini commander-ini reload seams ";
    if (viewer == nullptr && noViewer.find(" " + verb + " ") == std::string::npos) {
      ADD_FAILURE() << where << " (no viewer open)";
      return;
    }
    if (verb == "ini") {
      std::string text;
      std::getline(words >> std::ws, text);
      UseIni(Utf8(Unescape(text)));
    } else if (verb == "open") {
      std::string file, option;
      int width = 800, height = 500, flags = 0;
      bool keep = false;
      HWND host = nullptr;
      words >> file;
      while (words >> option) {
        if (option == "flags") words >> std::hex >> flags >> std::dec;
        else if (option == "keep") keep = true;
        else if (option == "panel") host = QuickViewPanel();
        else std::sscanf(option.c_str(), "%dx%d", &width, &height);
      }
      const HWND opened = Open(fixture(file), flags, width, height, host);
      if (!keep || opened == nullptr) viewer = opened;
      if (viewer == nullptr) {
        ADD_FAILURE() << where << " (the file was declined)";
        return;
      }
    } else if (verb == "next") {
      std::string file;
      words >> file;
      files_.push_back(std::make_unique<TempFile>(fixture(file)));
      result = listLoadNextW_(GetParent(viewer), viewer, files_.back()->Path().c_str(), 0);
    } else if (verb == "file" || verb == "host-ini" || verb == "commander-ini") {
      std::string file;
      words >> file;
      const std::filesystem::path path = folder_ / file;
      if (verb == "file") {
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << Utf8(rest());
      } else if (verb == "host-ini") {
        iniPath_ = path.wstring();
        SetIni(path.string());
      } else {
        SetEnvironmentVariableW(L"COMMANDER_INI", path.c_str());
      }
    } else if (verb == "reload") {
      PluginTest::TearDown();
      PluginTest::SetUp();
      viewer = nullptr;
    } else if (verb == "seams") {
      int dpi = 0;
      std::string perNotch;
      words >> dpi >> perNotch;
      setSeams_(dpi, !perNotch.empty(),
                perNotch == "page" ? 0xFFFFFFFF : std::strtoul(perNotch.c_str(), nullptr, 10));
    } else if (verb == "photo") {
      std::string file;
      words >> file;
      const std::string bytes = ReadFixture(file);
      if (!postPhoto_(viewer, reinterpret_cast<const unsigned char*>(bytes.data()),
                      static_cast<int>(bytes.size())))
        ADD_FAILURE() << where << " (not posted)";
      Pump();
      Paint(viewer);
    } else if (verb == "close") {
      listCloseWindow_(viewer);
    } else if (verb == "focus") {
      std::string target;
      words >> target;
      SetFocus(window(target));
    } else if (verb == "key") {
      static const std::pair<const char*, UINT> keys[] = {
          {"Down", VK_DOWN}, {"Up", VK_UP},          {"PageDown", VK_NEXT}, {"PageUp", VK_PRIOR},
          {"Home", VK_HOME}, {"End", VK_END},        {"Return", VK_RETURN}, {"Escape", VK_ESCAPE},
          {"Tab", VK_TAB},   {"Apps", VK_APPS}};
      std::string first, second, kind;
      words >> first >> second >> kind;
      HWND target = viewer;
      std::string keyName = first;
      if (first == "viewer" || first == "edit" || first == "check" || first == "details") {
        target = window(first);
        keyName = second;
      } else {
        kind = second;
      }
      UINT key = keyName.size() == 1 ? static_cast<UINT>(keyName[0]) : 0;
      for (const auto& [keyText, code] : keys)
        if (keyName == keyText) key = code;
      const UINT message = kind == "char" ? WM_CHAR : kind == "syskey" ? WM_SYSKEYDOWN : WM_KEYDOWN;
      SendMessageW(target, message, key, 0);
      if (IsWindow(viewer)) Paint(viewer);
    } else if (verb == "ctrl") {
      std::string how;
      words >> how;
      PressCtrl(how == "down");
    } else if (verb == "click" || verb == "rclick" || verb == "move" || verb == "wheel") {
      int x = 0, y = 0, delta = 0;
      words >> x >> y >> delta;
      if (verb == "click") {
        SendMessageW(viewer, WM_LBUTTONDOWN, MK_LBUTTON, PackPoint(x, y));
        SendMessageW(viewer, WM_LBUTTONUP, 0, PackPoint(x, y));
      } else if (verb == "rclick") {
        SendMessageW(viewer, WM_RBUTTONUP, 0, PackPoint(x, y));
      } else if (verb == "move") {
        SendMessageW(viewer, WM_MOUSEMOVE, 0, PackPoint(x, y));
      } else {
        const POINT screen = clientToScreen(x, y);
        do {
          SendMessageW(viewer, WM_MOUSEWHEEL,
                       MAKEWPARAM(0, static_cast<WORD>(static_cast<int16_t>(delta))),
                       MAKELPARAM(screen.x, screen.y));
        } while (words >> delta);
      }
      Paint(viewer);
    } else if (verb == "scroll") {
      static const std::pair<const char*, int> codes[] = {
          {"linedown", SB_LINEDOWN}, {"lineup", SB_LINEUP}, {"pagedown", SB_PAGEDOWN},
          {"pageup", SB_PAGEUP},     {"top", SB_TOP},       {"bottom", SB_BOTTOM}};
      std::string code;
      words >> code;
      for (const auto& [codeName, value] : codes) {
        if (code == codeName)
          SendMessageW(viewer, WM_VSCROLL, MAKEWPARAM(value, 0), reinterpret_cast<LPARAM>(listBar()));
      }
      Paint(viewer);
    } else if (verb == "type") {
      SetWindowTextW(GetDlgItem(viewer, kFilterEditId), rest().c_str());  // sends EN_CHANGE
      Paint(viewer);
    } else if (verb == "photo-only") {
      SendMessageW(GetDlgItem(viewer, kPhotoOnlyId), BM_CLICK, 0, 0);
      Paint(viewer);
    } else if (verb == "search") {
      int flags = 0;
      words >> flags;
      result = listSearchTextW_(viewer, rest().c_str(), flags);
      Pump();
      Paint(viewer);
    } else if (verb == "command") {
      int command = 0, parameter = 0;
      words >> command >> std::hex >> parameter >> std::dec;
      result = listSendCommand_(viewer, command, parameter);
    } else if (verb == "marker") {
      PutClipboardMarker();
    } else if (verb == "select") {
      std::string text;
      int length = 0;
      words >> text >> length;
      const HWND details = window("details");
      const LONG at = FindInDetails(details, Unescape(text));
      SendMessageW(details, EM_SETSEL, at, at + length);
      SetFocus(details);
    } else if (verb == "menu") {
      std::string how;
      int choose = 0;
      words >> how >> choose;
      const HWND details = window("details");
      menu = RunMenu(
          [&] {
            if (how == "list" || how == "details") {
              PostMessageW(viewer, how == "list" ? kListMenuMessage : kDetailsMenuMessage, 0,
                           MAKELPARAM(200, 200));
            } else if (how == "key" || how == "details-key") {
              const HWND target = how == "key" ? viewer : details;
              SendMessageW(target, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(target), -1);
            } else if (how.rfind("rclick:", 0) == 0) {
              int x = 0, y = 0;
              std::sscanf(how.c_str() + 7, "%d,%d", &x, &y);
              SendMessageW(viewer, WM_RBUTTONUP, 0, PackPoint(x, y));
            } else if (how.rfind("on:", 0) == 0) {
              POINTL at{};
              SendMessageW(details, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&at),
                           FindInDetails(details, Unescape(how.substr(3))));
              const LPARAM point = PackPoint(at.x + 2, at.y + 3);
              SendMessageW(details, WM_RBUTTONDOWN, MK_RBUTTON, point);
              SendMessageW(details, WM_RBUTTONUP, 0, point);
            }
          },
          choose);
    } else if (verb == "drag") {
      int from = 0, to = 0;
      std::string lost;
      words >> from >> to >> lost;
      SendMessageW(viewer, WM_LBUTTONDOWN, MK_LBUTTON, PackPoint(from, 200));
      SendMessageW(viewer, WM_MOUSEMOVE, MK_LBUTTON, PackPoint(to, 200));
      if (lost == "lost") ReleaseCapture();
      SendMessageW(viewer, WM_LBUTTONUP, 0, PackPoint(to, 200));
    } else if (verb == "ini-set") {
      std::string section, key, value;
      words >> section >> key >> value;
      WritePrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(), Wide(value).c_str(),
                                 iniPath_.c_str());
    } else if (verb == "setting-change") {
      SendMessageW(viewer, WM_SETTINGCHANGE, 0, 0);
    } else if (verb == "context") {
      int x = 0, y = 0;
      words >> x >> y;
      SendMessageW(viewer, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(viewer), MAKELPARAM(x, y));
    } else if (verb == "cursor") {
      int x = 0, y = 0;
      words >> x >> y;
      const POINT screen = clientToScreen(x, y);
      SetCursorPos(screen.x, screen.y);
    } else if (verb == "expect") {
      std::string what;
      words >> what;
      const auto number = [&] {
        long value = 0;
        words >> value;
        return value;
      };
      const auto list = [&](const std::vector<std::wstring>& items) {
        std::wstring joined;
        for (size_t i = 0; i < items.size(); ++i) joined += (i ? L" | " : L"") + items[i];
        return joined;
      };
      const KontaktelDiagnostics state = Diagnostics(viewer);
      std::optional<long> expectedNumber;
      long actualNumber = 0;
      std::optional<std::wstring> expectedText;
      std::wstring actualText;
      if (what == "selected") {
        expectedNumber = number(), actualNumber = state.selected;
      } else if (what == "top") {
        expectedNumber = number(), actualNumber = ListView(viewer).topRow;
      } else if (what == "page") {
        expectedNumber = number(), actualNumber = ListView(viewer).rowsPerPage;
      } else if (what == "shown-row") {
        expectedNumber = number(), actualNumber = ListView(viewer).selectedRow;
      } else if (what == "rowcount") {
        expectedNumber = number(), actualNumber = static_cast<long>(Names(viewer).size());
      } else if (what == "cards") {
        expectedNumber = number(), actualNumber = state.cardCount;
      } else if (what == "matches") {
        expectedNumber = number(), actualNumber = state.matchCount;
      } else if (what == "result") {
        expectedNumber = number(), actualNumber = result;
      } else if (what == "menu-size") {
        expectedNumber = number(), actualNumber = static_cast<long>(menu.size());
      } else if (what == "row" || what == "shade" || what == "card") {
        const long row = number();
        const auto record = ListRow(viewer, row);
        if (what == "row") {
          expectedText = rest();
          actualText = record ? std::wstring(record->name) + L" | " + record->detail : L"(none)";
        } else {
          expectedNumber = number();
          actualNumber = !record ? -9 : what == "shade" ? record->shade : record->card;
        }
      } else if (what == "names") {
        expectedText = rest(), actualText = list(Names(viewer));
      } else if (what == "menu") {
        expectedText = rest(), actualText = list(menu);
      } else if (what == "status") {
        expectedText = rest(), actualText = ListView(viewer).status;
      } else if (what == "clipboard" || what == "clipboard-file") {
        expectedText = what == "clipboard" ? rest() : Wide(ReadFixture(Utf8(rest())));
        actualText = ClipboardText().value_or(L"(no text)");
      } else if (what == "focus") {
        std::string target;
        words >> target;
        expectedText = Wide(target);
        const HWND focus = GetFocus();
        actualText = focus == viewer                              ? L"viewer"
                     : fileList_ != nullptr && focus == fileList_ ? L"list"
                     : focus == window("edit")                    ? L"edit"
                     : focus == window("check")                   ? L"check"
                     : focus == window("details")                 ? L"details"
                                                                  : L"elsewhere";
      } else if (what == "no-menu") {
        expectedNumber = 0, actualNumber = AMenuOpensNow();
      } else if (what == "listbar" || what == "photo") {
        const HWND shown = what == "listbar" ? listBar() : GetDlgItem(viewer, kPhotoPaneId);
        expectedText = rest(), actualText = IsWindowVisible(shown) ? L"visible" : L"hidden";
      } else if (what == "tooltip") {
        wchar_t buffer[256] = {};
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.hwnd = viewer;
        tool.uId = 1;
        tool.lpszText = buffer;
        SendMessageW(ViewerTooltip(viewer), TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&tool));
        expectedText = rest(), actualText = buffer;
      } else if (what == "pixel" || what == "not-pixel") {
        int x = 0, y = 0;
        unsigned rgb = 0;
        words >> x >> y >> std::hex >> rgb >> std::dec;
        const COLORREF color = PrintedPixel(viewer, x, y);
        const long actual = GetRValue(color) << 16 | GetGValue(color) << 8 | GetBValue(color);
        if ((actual == static_cast<long>(rgb)) != (what == "pixel"))
          ADD_FAILURE() << where << " (got " << std::hex << actual << ")";
      } else if (what == "filter") {
        wchar_t filter[128] = {};
        GetWindowTextW(window("edit"), filter, 128);
        expectedText = rest(), actualText = filter;
      } else if (what == "found") {
        CHARRANGE range{};
        const HWND details = window("details");
        SendMessageW(details, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
        std::wstring found(static_cast<size_t>(range.cpMax - range.cpMin) + 1, L'\0');
        TEXTRANGEW text{range, found.data()};
        found.resize(static_cast<size_t>(
            SendMessageW(details, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&text))));
        expectedText = rest(), actualText = found;
      } else if (what == "found-visible") {
        // The selection's start lies inside the viewer, above the status strip.
        const HWND details = window("details");
        CHARRANGE range{};
        SendMessageW(details, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
        POINTL at{};
        SendMessageW(details, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&at), range.cpMin);
        POINT point{at.x, at.y};
        MapWindowPoints(details, viewer, &point, 1);
        RECT client{};
        GetClientRect(viewer, &client);
        expectedNumber = 1, actualNumber = point.y >= 0 && point.y < client.bottom - 20;
      } else if (what == "state") {
        // A field of the plugin's diagnostics record, of the viewer or the module.
        static const std::pair<const char*, int KontaktelDiagnostics::*> fields[] = {
            {"viewers", &KontaktelDiagnostics::liveViewers},
            {"host-dark", &KontaktelDiagnostics::hostDark},
            {"dark", &KontaktelDiagnostics::darkMode},
            {"russian", &KontaktelDiagnostics::uiRussian},
            {"list-width", &KontaktelDiagnostics::listWidth},
            {"photo-url", &KontaktelDiagnostics::loadPhotoUrl},
            {"gdi-objects", &KontaktelDiagnostics::gdiObjects},
            {"details-scroll", &KontaktelDiagnostics::detailsScroll}};
        std::string field;
        words >> field;
        expectedNumber = number();
        actualNumber = -999;
        for (const auto& [fieldName, member] : fields)
          if (field == fieldName) actualNumber = state.*member;
      } else if (what == "ini") {
        std::string section, key;
        words >> section >> key;
        wchar_t value[64] = {};
        GetPrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(), L"", value, 64,
                                 iniPath_.c_str());
        expectedText = rest(), actualText = value;
      } else if (what == "details-file") {
        // The details text is a golden file of tests/data; KONTAKTEL_BLESS writes it anew.
        std::string file;
        words >> file;
        actualText = DetailsText(window("details"));
        if (std::getenv("KONTAKTEL_BLESS") != nullptr)
          std::ofstream(std::string(KONTAKTEL_TEST_DATA) + "/" + file, std::ios::binary) << Utf8(actualText);
        expectedText = Wide(ReadFixture(file));
      } else if (what == "colour" || what == "background") {
        // Every character of the first TEXT in the details has the colour; or
        // the details' background colour.
        unsigned rgb = 0;
        words >> std::hex >> rgb >> std::dec;
        const std::wstring text = rest();
        const HWND details = window("details");
        expectedNumber = static_cast<long>(rgb);
        if (what == "background") {
          const auto previous = static_cast<COLORREF>(SendMessageW(details, EM_SETBKGNDCOLOR, 0, 1));
          SendMessageW(details, EM_SETBKGNDCOLOR, 0, previous);  // answers the previous one
          actualNumber = GetRValue(previous) << 16 | GetGValue(previous) << 8 | GetBValue(previous);
        }
        const LONG at = what == "colour" ? FindInDetails(details, text) : 0;
        if (at < 0) actualNumber = -1;
        for (LONG i = 0; what == "colour" && at >= 0 && i < static_cast<LONG>(text.size()); ++i) {
          CHARRANGE range{at + i, at + i + 1};
          SendMessageW(details, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
          CHARFORMAT2W format{};
          format.cbSize = sizeof format;
          SendMessageW(details, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
          const COLORREF c = format.crTextColor;
          actualNumber = GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c);
          if (actualNumber != expectedNumber) break;
        }
      } else if (what == "host-close") {
        long asked = 1;
        words >> asked;
        expectedNumber = asked, actualNumber = PostedToHost(GetParent(viewer));
      } else {
        ADD_FAILURE() << where << " (unknown expectation)";
      }
      if (expectedNumber && *expectedNumber != actualNumber)
        ADD_FAILURE() << where << " (got " << actualNumber << ")";
      if (expectedText && *expectedText != actualText)
        ADD_FAILURE() << where << " (got \"" << Utf8(actualText) << "\")";
    } else {
      ADD_FAILURE() << where << " (unknown step)";
      return;
    }
  }
}

}  // namespace kontaktel::test
