// Drives the real plugin DLL through its exports, as the host does, with real
// windows under Wine.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "plugin/diagnostics.h"
#include "support/viewer_driver.h"
#include "support/temp_file.h"

namespace {

using kontaktel::test::PluginTest;
using kontaktel::test::TempFile;

constexpr char kTwoCards[] =
    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Anna M\xC3\xBCller\r\nTEL;TYPE=CELL:+49 170 "
    "1234567\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Boris Petrov\r\nEMAIL:boris@example.ru\r\nNOTE:Chess on "
    "Fridays\r\n"
    "END:VCARD\r\n";
constexpr char kThreeCards[] =
    "BEGIN:VCARD\r\nFN:Carl\r\nEND:VCARD\r\nBEGIN:VCARD\r\nFN:Dora\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nFN:Emil\r\nEND:VCARD\r\n";

TEST_F(PluginTest, DetectStringInBothFormsAndShortBuffers) {
  char ansi[64];
  std::memset(ansi, 'x', sizeof ansi);
  listGetDetectString_(ansi, sizeof ansi);
  EXPECT_STREQ(ansi, "EXT=\"VCF\" | EXT=\"VCARD\"");
  wchar_t wide[64];
  listGetDetectStringW_(wide, 64);
  EXPECT_STREQ(wide, L"EXT=\"VCF\" | EXT=\"VCARD\"");
  std::memset(ansi, 'x', sizeof ansi);
  listGetDetectString_(ansi, 5);
  EXPECT_STREQ(ansi, "EXT=");
  EXPECT_EQ(ansi[5], 'x');
  std::memset(ansi, 'x', sizeof ansi);
  listGetDetectString_(ansi, 0);
  EXPECT_EQ(ansi[0], 'x');
  listGetDetectString_(nullptr, 64);
  listGetDetectStringW_(nullptr, 64);
  std::memset(ansi, 'x', sizeof ansi);
  listGetDetectString_(ansi, 1);
  EXPECT_EQ(ansi[0], '\0');
}

TEST_F(PluginTest, LoadCreatesAChildViewerWindowWithTheCards) {
  TempFile file(kTwoCards);
  const HWND viewer = Load(file);
  ASSERT_NE(viewer, nullptr);
  EXPECT_EQ(GetParent(viewer), parent_);
  wchar_t className[64] = {};
  GetClassNameW(viewer, className, 64);
  EXPECT_STREQ(className, L"VCF_VIEW_CLASS");
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrW(viewer, GWL_STYLE)) & 0x52000000u, 0x52000000u);
  EXPECT_EQ(Diagnostics(viewer).cardCount, 2);
  EXPECT_EQ(Diagnostics(viewer).selected, 0);
  listCloseWindow_(viewer);
  EXPECT_FALSE(IsWindow(viewer));
}

TEST_F(PluginTest, LoadDeclinesWhatItCannotRead) {
  EXPECT_EQ(listLoadW_(nullptr, L"Z:\\x.vcf", 0), nullptr);
  EXPECT_EQ(listLoadW_(parent_, nullptr, 0), nullptr);
  EXPECT_EQ(listLoad_(parent_, nullptr, 0), nullptr);
  EXPECT_EQ(listLoadW_(parent_, L"Z:\\no\\such\\file.vcf", 0), nullptr);
  TempFile empty("");
  EXPECT_EQ(Load(empty), nullptr);
  TempFile invalidAfterMark(
      "\xEF\xBB\xBF"
      "FN:\xFF\r\n");
  EXPECT_EQ(Load(invalidAfterMark), nullptr);
  EXPECT_EQ(Diagnostics().liveViewers, 0);
}

TEST_F(PluginTest, TextWithoutCardsStillGetsAWindow) {
  TempFile noCards("just some notes, no contacts\r\n");
  const HWND viewer = Load(noCards);
  ASSERT_NE(viewer, nullptr);
  EXPECT_EQ(Diagnostics(viewer).cardCount, 0);
  EXPECT_EQ(listSearchTextW_(viewer, L"notes", 1), 1);  // a window without cards finds nothing
}

TEST_F(PluginTest, AnsiEntryPointsConvertTheirNames) {
  TempFile file(kTwoCards);
  const std::string ansiName = Narrow(file.Path());
  const HWND viewer = listLoad_(parent_, ansiName.c_str(), 0);
  ASSERT_NE(viewer, nullptr);
  EXPECT_EQ(Diagnostics(viewer).cardCount, 2);
  EXPECT_EQ(listSearchText_(viewer, "boris", 1), 0);
  EXPECT_EQ(Diagnostics(viewer).selected, 1);
  TempFile three(kThreeCards);
  EXPECT_EQ(listLoadNext_(parent_, viewer, Narrow(three.Path()).c_str(), 0), 0);
  EXPECT_EQ(Diagnostics(viewer).cardCount, 3);
  // A name the ANSI code page cannot hold arrives mangled and cannot be opened.
  TempFile cyrillic(kTwoCards, L"-\x041A\x043E\x043D\x0442\x0430\x043A\x0442.vcf");
  EXPECT_NE(listLoadW_(parent_, cyrillic.Path().c_str(), 0), nullptr);
  char mangled[MAX_PATH] = {};
  WideCharToMultiByte(CP_ACP, 0, cyrillic.Path().c_str(), -1, mangled, MAX_PATH, nullptr, nullptr);
  EXPECT_EQ(listLoad_(parent_, mangled, 0), nullptr);
}

TEST_F(PluginTest, LoadNextReusesTheWindowOrKeepsTheOldFile) {
  TempFile first(kTwoCards), second(kThreeCards), empty(""), noCards("nothing here\r\n");
  const HWND viewer = Load(first);
  ASSERT_NE(viewer, nullptr);
  EXPECT_EQ(listSearchTextW_(viewer, L"Boris", 1), 0);
  EXPECT_EQ(listLoadNextW_(parent_, viewer, second.Path().c_str(), 0), 0);
  EXPECT_TRUE(IsWindow(viewer));
  EXPECT_EQ(Diagnostics(viewer).cardCount, 3);
  EXPECT_EQ(Diagnostics(viewer).selected, 0);
  // An unreadable file leaves the window showing the previous one.
  EXPECT_EQ(listLoadNextW_(parent_, viewer, empty.Path().c_str(), 0), 1);
  EXPECT_EQ(Diagnostics(viewer).cardCount, 3);
  EXPECT_EQ(listLoadNextW_(nullptr, viewer, second.Path().c_str(), 0), 1);
  EXPECT_EQ(listLoadNextW_(parent_, nullptr, second.Path().c_str(), 0), 1);
  EXPECT_EQ(listLoadNextW_(parent_, viewer, nullptr, 0), 1);
  EXPECT_EQ(listLoadNext_(parent_, viewer, nullptr, 0), 1);
  // A file without cards is loaded: the list is empty.
  EXPECT_EQ(listLoadNextW_(parent_, viewer, noCards.Path().c_str(), 0), 0);
  EXPECT_EQ(Diagnostics(viewer).cardCount, 0);
  EXPECT_EQ(Diagnostics().liveViewers, 1);
}



TEST_F(PluginTest, SearchAndCommandsRefuseWindowsThatAreNotViewers) {
  EXPECT_EQ(listSearchTextW_(nullptr, L"x", 1), 1);
  EXPECT_EQ(listSearchTextW_(parent_, L"x", 1), 1);  // the host's own window
  EXPECT_EQ(listSearchTextW_(reinterpret_cast<HWND>(0x12345), L"x", 1), 1);
  TempFile file(kTwoCards);
  const HWND viewer = Load(file);
  EXPECT_EQ(listSearchTextW_(viewer, nullptr, 1), 1);
  EXPECT_EQ(listSearchText_(viewer, nullptr, 1), 1);
  EXPECT_EQ(listSendCommand_(nullptr, 2, 0), 1);
  EXPECT_EQ(listSendCommand_(reinterpret_cast<HWND>(0x12345), 4, 0), 1);
  // New parameters for a handle that is no window still change the colours.
  EXPECT_EQ(listSendCommand_(reinterpret_cast<HWND>(0x12345), 2, 0x100), 0);
  EXPECT_EQ(Diagnostics().darkMode, 1);
  listCloseWindow_(nullptr);
  listCloseWindow_(reinterpret_cast<HWND>(0x12345));
  EXPECT_TRUE(IsWindow(viewer));
}




TEST_F(PluginTest, WithoutAnIniFileNothingIsReadOrWritten) {
  TempFile file(kTwoCards);
  const HWND viewer = Load(file);
  ASSERT_NE(viewer, nullptr);
  EXPECT_EQ(Diagnostics(viewer).listWidth, 0);
  EXPECT_EQ(Diagnostics(viewer).loadPhotoUrl, 0);
  // A null record and an empty name change nothing.
  listSetDefaultParams_(nullptr);
  SetIni("");
  EXPECT_EQ(Diagnostics(viewer).listWidth, 0);
}


TEST_F(PluginTest, TwoViewersShareTheModuleAndGiveEverythingBack) {
  TempFile first(kTwoCards), second(kThreeCards);
  const HWND a = Load(first);
  const HWND b = Load(second);
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(Diagnostics().liveViewers, 2);
  EXPECT_EQ(Diagnostics().gdiplusUsers, 2);
  EXPECT_EQ(Diagnostics(a).cardCount, 2);
  EXPECT_EQ(Diagnostics(b).cardCount, 3);
  listCloseWindow_(a);
  EXPECT_EQ(Diagnostics().liveViewers, 1);
  EXPECT_EQ(Diagnostics().gdiplusRunning, 1);
  listCloseWindow_(b);
  const KontaktelDiagnostics after = Diagnostics();
  EXPECT_EQ(after.liveViewers, 0);
  EXPECT_EQ(after.gdiplusUsers, 0);
  EXPECT_EQ(after.gdiplusRunning, 0);
  EXPECT_EQ(after.gdiObjects, 0);
}

TEST_F(PluginTest, TwoHundredLoadsLeaveNothingBehind) {
  TempFile first(kTwoCards), second(kThreeCards);
  for (int i = 0; i < 200; ++i) {
    const HWND viewer = Load(first, i % 2 ? 0x80 : 0);
    ASSERT_NE(viewer, nullptr);
    ASSERT_EQ(listLoadNextW_(parent_, viewer, second.Path().c_str(), 0), 0);
    UpdateWindow(viewer);
    listCloseWindow_(viewer);
    Pump();
  }
  const KontaktelDiagnostics after = Diagnostics();
  EXPECT_EQ(after.liveViewers, 0);
  EXPECT_EQ(after.gdiplusUsers, 0);
  EXPECT_EQ(after.gdiplusRunning, 0);
  EXPECT_EQ(after.gdiObjects, 0);
  EXPECT_EQ(after.viewClassRegistered, 1);  // kept for the next file until the module goes
}

TEST_F(PluginTest, UnloadingTheModuleUnregistersItsClass) {
  TempFile file(kTwoCards);
  const HWND viewer = Load(file);
  ASSERT_NE(viewer, nullptr);
  listCloseWindow_(viewer);
  const HINSTANCE instance = module_;
  WNDCLASSEXW info{};
  info.cbSize = sizeof info;
  EXPECT_TRUE(GetClassInfoExW(instance, L"VCF_VIEW_CLASS", &info));
  FreeLibrary(module_);
  module_ = nullptr;
  EXPECT_FALSE(GetClassInfoExW(instance, L"VCF_VIEW_CLASS", &info));
}

}  // namespace
