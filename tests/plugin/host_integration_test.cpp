// The real DLL at home in the file manager: its settings split over two INI
// files, its quick-view panel, per-monitor DPI and smooth wheels.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "photo/gdiplus_bitmap.h"
#include "support/plugin_fixture.h"
#include "support/test_images.h"

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
    return CreateWindowExW(0, className, L"", WS_CHILD | WS_VISIBLE, x, 0, width, 600, parent_, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
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
  static std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
  }

  // A test export of the DLL: posts a photo as a download worker would.
  bool PostPhoto(HWND viewer, const std::vector<uint8_t>& bytes) {
    using Post = BOOL(__stdcall*)(HWND, const unsigned char*, int);
    const auto post = reinterpret_cast<Post>(reinterpret_cast<void*>(GetProcAddress(module_, "KontaktelPostPhoto")));
    return post != nullptr && post(viewer, bytes.data(), static_cast<int>(bytes.size()));
  }
  fs::path folder_ = fs::temp_directory_path() /
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
  int row = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(row++);
    TearDown();
    SetUp();
    const std::string name = "case" + std::to_string(row);
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
    const std::wstring details = WindowText(GetDlgItem(viewer, 1002));
    EXPECT_NE(details.find(c.russian ? L"Телефон\t+49" : L"Phone\t+49"), std::wstring::npos);
    // The plugin's own keys stay in the file the host named.
    EXPECT_EQ(Diagnostics(viewer).listWidth, c.named && std::strstr(c.named, "ListWidth") ? 250 : 0);
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

}  // namespace
}  // namespace kontaktel
