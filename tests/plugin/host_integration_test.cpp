// The real DLL at home in the file manager: its settings split over two INI
// files, its quick-view panel, per-monitor DPI and smooth wheels.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/plugin_fixture.h"

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

}  // namespace
}  // namespace kontaktel
