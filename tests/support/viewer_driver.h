// The one driver of the real viewer: the plugin DLL loaded as the host loads
// it, one visible host window, and what a user does and sees: keys, clicks,
// the wheel, menus, the selected card, the status line, the details text, the
// clipboard and the focused control. Scenarios written as data files in
// tests/data/scenarios are played by RunScenario.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "plugin/diagnostics.h"
#include "plugin/list_diagnostics.h"
#include "support/temp_file.h"

namespace kontaktel::test {

struct DefaultParams {
  int size;
  DWORD interfaceVersionLow;
  DWORD interfaceVersionHigh;
  char defaultIniName[260];
};

// Child control ids of the viewer, and the messages that open its menus.
enum : int { kPhotoPaneId = 1001, kDetailsId = 1002, kFilterEditId = 1010, kPhotoOnlyId = 1011 };
constexpr UINT kListMenuMessage = WM_APP + 40;
constexpr UINT kDetailsMenuMessage = WM_APP + 41;

// What a program pasting Unicode text would get; none when there is no such text.
std::optional<std::wstring> ClipboardText();
// Puts "what the user had" on the clipboard, so that a test sees whether a copy touched it.
void PutClipboardMarker();
// A child's rectangle in its parent's client coordinates.
RECT ChildRect(HWND child);
std::vector<HWND> ScrollBars(HWND viewer);
// The colour at a point of what the window paints, printed into a bitmap.
COLORREF PrintedPixel(HWND window, int x, int y);
// The tooltip whose tool 1 is the viewer (a top-level window of the thread).
HWND ViewerTooltip(HWND viewer);
// The details view's whole text with CR LF line ends.
std::wstring DetailsText(HWND view);
// The rich edit position of the first `text` in the view, -1 when absent.
LONG FindInDetails(HWND view, const std::wstring& text);
// Client coordinates packed as the system packs them (signed 16 bits).
LPARAM PackPoint(int x, int y);
// Ctrl held or not, as GetKeyState reports it.
void PressCtrl(bool down);
// Text with \t, \r, \n and \\ escapes from UTF-8.
std::wstring Unescape(const std::string& utf8);

// Runs `open`, then, while the menu it opens is tracked, runs `during` and
// picks item `choose` with keys (0 cancels); the items the menu showed.
std::vector<std::wstring> RunMenu(const std::function<void()>& open, int choose,
                                  const std::function<void()>& during = nullptr);
// Whether a menu opens within 400 ms without being asked (it is closed again).
bool AMenuOpensNow();

// The DLL as the host sees it: loaded fresh for every test and unloaded after,
// so that each test starts from a module that has done nothing yet.
class PluginTest : public ::testing::Test {
 public:
  // Dispatches what is queued, translating keys as the host's loop does.
  static void Pump();

 protected:
  void SetUp() override;
  void TearDown() override;
  // One visible host window for all tests: mapping a new top-level window costs
  // Wine about two seconds.
  static void SetUpTestSuite();
  static void TearDownTestSuite();

  template <typename Function>
  void Get(Function& function, const char* name) {
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
    ASSERT_NE(function, nullptr) << name;
  }
  KontaktelDiagnostics Diagnostics(HWND window = nullptr) const;
  KontaktelListView ListView(HWND viewer) const;
  std::optional<KontaktelListRow> ListRow(HWND viewer, int pageRow) const;
  // The names of the rows on the page.
  std::vector<std::wstring> Names(HWND viewer) const;
  // Points the host's INI file at `path` (ListSetDefaultParams).
  void SetIni(const std::string& path);
  // Writes an INI file with the given contents and points the host at it.
  void UseIni(const std::string& contents);
  static std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }
  // Loads into `host`, the host's window unless given.
  HWND Load(const TempFile& file, int flags = 0, HWND host = nullptr) {
    return listLoadW_(host != nullptr ? host : parent_, file.Path().c_str(), flags);
  }
  // Loads bytes into a viewer of the given client size, painted once.
  HWND Open(std::string_view bytes, int flags = 0, int width = 800, int height = 500,
            HWND host = nullptr);
  static void Paint(HWND viewer);
  // What was posted to `host` since the last call, taken from its queue: 1 when
  // Escape and WM_CLOSE (the host was asked to close), 0 when nothing, else -1.
  static int PostedToHost(HWND host);
  // Quick view: the host's window gets a file list, which takes the focus, and
  // a panel (a child window) beside it to load viewers into; the panel.
  HWND QuickViewPanel();

  // Plays tests/data/scenarios/<name>; every failed expectation names its line.
  void RunScenario(const std::string& name);

  // The four load functions below return once the file is read whole, which
  // most tests want; these are the DLL's own, which return while it is read.
  static inline HWND(__stdcall* startLoadW_)(HWND, const wchar_t*, int) = nullptr;
  static inline HWND(__stdcall* startLoad_)(HWND, const char*, int) = nullptr;
  static inline int(__stdcall* startLoadNextW_)(HWND, HWND, const wchar_t*, int) = nullptr;
  static inline int(__stdcall* startLoadNext_)(HWND, HWND, const char*, int) = nullptr;
  static inline void(__stdcall* finishLoading_)(HWND) = nullptr;
  static HWND __stdcall LoadWhole(HWND parent, const wchar_t* name, int flags);
  static HWND __stdcall LoadWholeAnsi(HWND parent, const char* name, int flags);
  static int __stdcall LoadNextWhole(HWND parent, HWND viewer, const wchar_t* name, int flags);
  static int __stdcall LoadNextWholeAnsi(HWND parent, HWND viewer, const char* name, int flags);
  void(__stdcall* setLoadSeams_)(int, HANDLE, unsigned long long) = nullptr;

  HMODULE module_ = nullptr;
  static inline HWND parent_ = nullptr;
  std::vector<std::unique_ptr<TempFile>> files_;
  std::wstring iniPath_;          // the INI file the host named last
  HWND fileList_ = nullptr;       // the quick-view host's file list
  std::filesystem::path folder_;  // the test's own files, removed after it
  HWND(__stdcall* listLoadW_)(HWND, const wchar_t*, int) = nullptr;
  HWND(__stdcall* listLoad_)(HWND, const char*, int) = nullptr;
  int(__stdcall* listLoadNextW_)(HWND, HWND, const wchar_t*, int) = nullptr;
  int(__stdcall* listLoadNext_)(HWND, HWND, const char*, int) = nullptr;
  void(__stdcall* listCloseWindow_)(HWND) = nullptr;
  void(__stdcall* listGetDetectString_)(char*, int) = nullptr;
  void(__stdcall* listGetDetectStringW_)(wchar_t*, int) = nullptr;
  int(__stdcall* listSearchTextW_)(HWND, const wchar_t*, int) = nullptr;
  int(__stdcall* listSearchText_)(HWND, const char*, int) = nullptr;
  int(__stdcall* listSendCommand_)(HWND, int, int) = nullptr;
  void(__stdcall* listSetDefaultParams_)(DefaultParams*) = nullptr;
  void(__stdcall* diagnostics_)(HWND, KontaktelDiagnostics*) = nullptr;
  BOOL(__stdcall* listView_)(HWND, KontaktelListView*) = nullptr;
  BOOL(__stdcall* listRow_)(HWND, int, KontaktelListRow*) = nullptr;
  void(__stdcall* setSeams_)(int, BOOL, unsigned) = nullptr;
  BOOL(__stdcall* postPhoto_)(HWND, const unsigned char*, int) = nullptr;
};

}  // namespace kontaktel::test
