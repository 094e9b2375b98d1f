// The real DLL at home in the file manager: its settings split over two INI
// files, its quick-view panel, per-monitor DPI and smooth wheels.
#include <gtest/gtest.h>
#include <richedit.h>
#include <windows.h>

#include <cstring>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "photo/gdiplus_bitmap.h"
#include "plugin/list_diagnostics.h"
#include "support/plugin_fixture.h"
#include "support/test_images.h"
#include "support/window_probe.h"

namespace kontaktel {
namespace {

using test::PluginTest;
using test::TempFile;
namespace fs = std::filesystem;

constexpr char kCards[] =
    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Anna\r\nTEL:+49 170 1234567\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Boris\r\nTEL:+7 495 1234567\r\nEND:VCARD\r\n";

class HostIntegrationTest : public PluginTest {
 protected:
  static void SetUpTestSuite() {
    PluginTest::SetUpTestSuite();
    AddGdiplusUser();  // for the test's own images
  }
  static void TearDownTestSuite() {
    ReleaseGdiplusUser();
    PluginTest::TearDownTestSuite();
  }
  HWND Child(const wchar_t* className, int x, int width) {
    return CreateWindowExW(0, className, L"", WS_CHILD | WS_VISIBLE, x, 0, width, 600, parent_,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
  }
  // Whether anything was posted to `window`; takes it from the queue.
  static std::vector<UINT> Posted(HWND window) {
    std::vector<UINT> messages;
    MSG message;  // WM_PAINT stays queued until painted: not asked for
    while (PeekMessageW(&message, window, 0, WM_PAINT - 1, PM_REMOVE) ||
           PeekMessageW(&message, window, WM_PAINT + 1, WM_USER + 0x7FFF, PM_REMOVE)) {
      messages.push_back(message.message);
    }
    return messages;
  }
  void TearDown() override {
    SetEnvironmentVariableW(L"COMMANDER_INI", nullptr);
    PluginTest::TearDown();
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }
  // Writes `text` to `name` in a folder of the test's own; the full path.
  fs::path Write(const fs::path& name, const char* text) {
    const fs::path path = folder_ / name;
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }
  template <typename Function>
  Function Export(const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
  }
  // The DLL's test seams: the DPI every window reports, the wheel's lines per notch.
  void Seams(int dpi, bool wheelOverride = false, unsigned lines = 3) {
    Export<void(__stdcall*)(int, BOOL, unsigned)>("KontaktelSetSeams")(dpi, wheelOverride, lines);
  }
  int ListTop(HWND viewer) {
    KontaktelListView view{};
    view.size = sizeof view;
    Export<BOOL(__stdcall*)(HWND, KontaktelListView*)>("KontaktelGetListView")(viewer, &view);
    return view.topRow;
  }
  static void Wheel(HWND viewer, int x, int delta) {
    POINT point{x, 300};
    ClientToScreen(viewer, &point);
    SendMessageW(viewer, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(static_cast<short>(delta))),
                 MAKELPARAM(point.x, point.y));
  }
  // Posts a photo to the viewer as a download worker would.
  bool PostPhoto(HWND viewer, const std::vector<uint8_t>& bytes) {
    return Export<BOOL(__stdcall*)(HWND, const unsigned char*, int)>("KontaktelPostPhoto")(
        viewer, bytes.data(), static_cast<int>(bytes.size()));
  }
  fs::path folder_ =
      fs::temp_directory_path() /
      ("kontaktel-host-" + std::to_string(GetTickCount()) + "-" + std::to_string(++runs_));
  static inline int runs_ = 0;
};

constexpr char kRussianDark[] =
    "[Configuration]\r\nLanguageIni=%COMMANDER_PATH%\\Language\\WCMD_RUS.LNG\r\n"
    "[Lister]\r\nBackColor=32,32,32\r\n";
constexpr char kEnglishLight[] =
    "[Configuration]\r\nLanguageIni=wcmd_eng.lng\r\n[Colors]\r\nBackColor=16777215\r\n";

TEST_F(HostIntegrationTest, HostKeysComeFromTheNamedIniElseTheHostsMainIni) {
  struct Case {
    const char* named;      // the plugins' INI the host names; null: none named
    const char* beside;     // wincmd.ini in its folder
    const char* commander;  // the file COMMANDER_INI names; null: not set
    bool russian;
    int dark;  // the palette before the host's first show flags; -1 unchecked
  };
  const Case cases[] = {
      {"[Kontaktel]\r\nListWidth=250\r\n", kRussianDark, nullptr, true, 1},
      {"[Kontaktel]\r\nListWidth=250\r\n", kEnglishLight, kRussianDark, true, 1},
      {"[Kontaktel]\r\nListWidth=250\r\n", kRussianDark, kEnglishLight, false, 0},
      {nullptr, nullptr, kRussianDark, true, -1},
      {"[Configuration]\r\nLanguageIni=wcmd_eng.lng\r\n[Lister]\r\nBackColor=16777215\r\n",
       kRussianDark, kRussianDark, false, 0},
      {"", "[Colors]\r\nBackColor=0,0,64\r\n", nullptr, false, 1},
      {"", nullptr, nullptr, false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(&c - cases);
    TearDown();
    SetUp();
    const std::string name = "case" + std::to_string(&c - cases);
    if (c.beside != nullptr) Write(name + "/wincmd.ini", c.beside);
    if (c.commander != nullptr)
      SetEnvironmentVariableW(L"COMMANDER_INI", Write(name + "/main/tc.ini", c.commander).c_str());
    if (c.named != nullptr) {
      SetIni(Write(name + "/lsplugin.ini", c.named).string());
      EXPECT_EQ(Diagnostics().darkMode, c.dark);
    }
    TempFile file(kCards);
    const HWND viewer = Load(file);
    ASSERT_NE(viewer, nullptr);
    MoveWindow(viewer, 0, 0, 800, 600, TRUE);
    wchar_t details[512] = {};
    GetWindowTextW(GetDlgItem(viewer, 1002), details, 512);
    EXPECT_NE(std::wcsstr(details, c.russian ? L"Телефон\t+49" : L"Phone\t+49"), nullptr);
    // The plugin's own keys stay in the file the host named.
    EXPECT_EQ(Diagnostics(viewer).listWidth,
              c.named && std::strstr(c.named, "ListWidth") ? 250 : 0);
    listCloseWindow_(viewer);
  }
}

// Quick view: the host's main window holds its file list, which keeps the
// focus, and a panel (a child window) into which the viewer is loaded.
TEST_F(HostIntegrationTest, InAPanelTheViewerNeverTakesTheFocusNorClosesItsParent) {
  const HWND list = Child(L"LISTBOX", 0, 200), panel = Child(L"STATIC", 200, 600);
  SetFocus(list);
  ASSERT_EQ(GetFocus(), list);
  TempFile file(kCards), next("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Vera\r\nEND:VCARD\r\n");
  const HWND viewer = listLoadW_(panel, file.Path().c_str(), 0);
  ASSERT_NE(viewer, nullptr);
  MoveWindow(viewer, 0, 0, 600, 600, TRUE);
  Pump();
  EXPECT_EQ(GetFocus(), list) << "load";
  EXPECT_EQ(listLoadNextW_(panel, viewer, next.Path().c_str(), 0), 0);
  Pump();
  EXPECT_EQ(GetFocus(), list) << "next file";
  EXPECT_TRUE(PostPhoto(viewer, test::EncodeImage(L"image/png", 40, 30)));
  Pump();
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(viewer, 1001))) << "the photo arrived";
  EXPECT_EQ(GetFocus(), list) << "photo";
  // Escape from every part of the viewer leaves the host's panel alone.
  for (const HWND target : {viewer, GetDlgItem(viewer, 1010), GetDlgItem(viewer, 1002)}) {
    SendMessageW(target, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(Posted(panel), std::vector<UINT>{});
    EXPECT_TRUE(IsWindow(panel) && IsWindow(viewer));
  }
  // A click into the list column is the user's: the viewer takes the focus.
  SendMessageW(viewer, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 60));
  EXPECT_EQ(GetFocus(), viewer);

  // In a Lister window, Escape still asks the host to close it.
  const HWND lister = Load(file);
  ASSERT_NE(lister, nullptr);
  Posted(parent_);
  SendMessageW(lister, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_EQ(Posted(parent_), (std::vector<UINT>{WM_KEYDOWN, WM_CLOSE}));
  DestroyWindow(list);
  DestroyWindow(panel);
}

// Precision touchpads send many small deltas: they move as far as the notches
// they add up to, at the user's lines per notch.
TEST_F(HostIntegrationTest, WheelDeltasAccumulateAndFollowTheLinesPerNotch) {
  std::string text = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Long\r\nNOTE:";
  for (int i = 0; i < 80; ++i) text += "Call after ten\\n";
  text += "\r\nEND:VCARD\r\n";
  for (int i = 0; i < 60; ++i)
    text += "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Card " + std::to_string(i) + "\r\nEND:VCARD\r\n";
  TempFile file(text);
  const HWND viewer = Load(file);
  ASSERT_NE(viewer, nullptr);
  MoveWindow(viewer, 0, 0, 800, 600, TRUE);
  Pump();
  const std::vector<HWND> bars = test::ScrollBars(viewer);  // list first, then details
  ASSERT_EQ(bars.size(), 2u);
  constexpr int kList = 100, kDetails = 500;
  constexpr unsigned kPage = 0xFFFFFFFF;
  struct Case {
    int x;
    unsigned lines;
    std::vector<int> deltas;  // positive: up
    int moved;                // rows or pixels down
  };
  const Case cases[] = {
      {kList, 3, {-30, -30, -30, -30}, 1},
      {kList, 3, {-120}, 1},
      {kList, 3, {-90, 60, -90}, 0},
      {kList, 3, {-120, -120, -120, 120}, 2},
      {kList, 6, {-120}, 2},
      {kList, 0, {-120, -120}, 0},
      {kList, kPage, {-120}, 7},  // the scroll bar's page: 8 rows less one
      {kDetails, 3, {-30, -30, -30, -30}, 40},
      {kDetails, 6, {-120, -120, 30}, 140},
      {kDetails, 0, {-120}, 0},
      {kDetails, kPage, {-120}, 288},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(&c - cases);
    Seams(0, true, c.lines);
    for (const HWND bar : bars)
      SendMessageW(viewer, WM_VSCROLL, SB_TOP, reinterpret_cast<LPARAM>(bar));
    Wheel(viewer, c.x == kList ? kDetails : kList, 0);  // over the other column: nothing left over
    for (const int delta : c.deltas) Wheel(viewer, c.x, delta);
    Pump();
    EXPECT_EQ(c.x == kList ? ListTop(viewer) : Diagnostics(viewer).detailsScroll, c.moved);
  }
  Seams(0);
}

// A Lister window moved to a monitor of another scale: the viewer looks as if
// it had been opened there, whether the layout or the message notices first.
TEST_F(HostIntegrationTest, EverythingFollowsTheWindowsOwnDpi) {
  TempFile file(test::CardWithPhoto("Anna", test::EncodeImage(L"image/png", 800, 400)));
  const HWND viewer = Load(file);
  ASSERT_NE(viewer, nullptr);
  const auto scrollWidth = [](int dpi) {
    using ForDpi = int(WINAPI*)(int, UINT);
    const auto forDpi = reinterpret_cast<ForDpi>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetSystemMetricsForDpi")));
    return forDpi != nullptr ? forDpi(SM_CXVSCROLL, dpi)
                             : MulDiv(GetSystemMetrics(SM_CXVSCROLL), dpi, 96);
  };
  for (const int dpi : {120, 144, 192, 96}) {
    SCOPED_TRACE(dpi);
    const auto s = [dpi](int length) { return MulDiv(length, dpi, 96); };
    Seams(dpi);
    if (dpi == 144 || dpi == 96) {         // the message before the host's resize
      SendMessageW(viewer, 0x02E3, 0, 0);  // WM_DPICHANGED_AFTERPARENT
      EXPECT_EQ(Diagnostics(viewer).mainFontHeight, -s(14));
    }
    MoveWindow(viewer, 0, 0, s(1000), s(600), TRUE);  // the host's window scales with its monitor
    Pump();
    const KontaktelDiagnostics d = Diagnostics(viewer);
    EXPECT_EQ(d.mainFontHeight, -s(14));
    EXPECT_EQ(d.smallFontHeight, -s(12));
    EXPECT_EQ(d.rowHeight, s(60));
    const RECT photo = test::ChildRect(GetDlgItem(viewer, 1001));
    EXPECT_NEAR(photo.right - photo.left, s(360), 1);
    EXPECT_NEAR(photo.bottom - photo.top, s(180), 1);
    for (const HWND bar : test::ScrollBars(viewer))
      EXPECT_EQ(test::ChildRect(bar).right - test::ChildRect(bar).left, scrollWidth(dpi));
    // Twips are the same length at every DPI: a tab stop at 240 pixels at 96
    // DPI, and the character height of the font.
    const HWND details = GetDlgItem(viewer, 1002);
    CHARRANGE start{0, 0};
    SendMessageW(details, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&start));
    PARAFORMAT paragraph{};
    paragraph.cbSize = sizeof paragraph;
    SendMessageW(details, EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&paragraph));
    EXPECT_EQ(paragraph.rgxTabs[0], 3600);
    CHARFORMAT2W format{};
    format.cbSize = sizeof format;
    SendMessageW(details, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    EXPECT_EQ(format.yHeight, MulDiv(s(14), 1440, dpi));
  }
  Seams(0);
}

}  // namespace
}  // namespace kontaktel
