// The viewer's list, filter, search, menus, clipboard and keys as a user
// meets them: scenarios of tests/data/scenarios played on the real DLL's
// window, and the two menu races a scenario cannot time.
#include <gtest/gtest.h>

#include "support/viewer_driver.h"

namespace kontaktel::test {
namespace {

class WindowScenario : public PluginTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(WindowScenario, Plays) { RunScenario(std::string(GetParam()) + ".txt"); }

INSTANTIATE_TEST_SUITE_P(
    Viewer, WindowScenario,
    ::testing::Values("list-rows", "list-russian", "list-keys", "list-clicks", "list-scroll",
                      "list-short", "list-keys-from-controls", "filter", "filter-cyrillic",
                      "filter-nothing", "tooltip", "status", "search-details", "search-far",
                      "search-hidden", "search-colours", "search-colours-dark", "next-under-filter",
                      "menu-copy-en", "menu-copy-ru", "menu-lacks", "menu-details", "menu-where",
                      "copy-keys", "escape", "host-copy", "search-flags", "search-marks",
                      "ini-settings", "show-flags", "host-background", "details-language",
                      "details-colours", "palette-refill", "splitter", "setting-change",
                      "palette-and-language"),
    [](const auto& test) {
      std::string name = test.param;
      for (char& c : name)
        if (c == '-') c = '_';
      return name;
    });

TEST_F(PluginTest, NoSecondMenuWhileOneIsOpen) {
  const std::string cards = ReadFixture("menu.vcf");
  const HWND viewer = Open(cards), other = Open(cards);
  ASSERT_NE(viewer, nullptr);
  ASSERT_NE(other, nullptr);
  int requestsPosted = -1;
  PutClipboardMarker();
  const auto items = RunMenu(
      [&] { PostMessageW(viewer, kListMenuMessage, 0, MAKELPARAM(200, 200)); }, 2,
      [&] {
        // Every way of asking for a menu, in both windows, while this one is
        // open: none of them posts a menu request.
        for (const HWND window : {viewer, other}) {
          const HWND details = GetDlgItem(window, kDetailsId);
          SendMessageW(window, WM_RBUTTONUP, 0, MAKELPARAM(40, 200));
          SendMessageW(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window), -1);
          SendMessageW(details, WM_RBUTTONUP, 0, MAKELPARAM(10, 10));
          SendMessageW(details, WM_CONTEXTMENU, 0, -1);
        }
        MSG message;
        requestsPosted =
            PeekMessageW(&message, nullptr, kListMenuMessage, kDetailsMenuMessage, PM_NOREMOVE);
      });
  EXPECT_EQ(items.size(), 4u);
  EXPECT_EQ(requestsPosted, 0);
  EXPECT_EQ(ClipboardText(), L"+49 170 1234567");
  EXPECT_FALSE(AMenuOpensNow());
}

// The menu loop runs the host's messages: the next file may arrive, or the
// window may be closed, before the chosen command runs.
TEST_F(PluginTest, NothingIsCopiedWhenTheWindowChangedUnderTheMenu) {
  const HWND viewer = Open(ReadFixture("menu.vcf"));
  ASSERT_NE(viewer, nullptr);
  const TempFile next(ReadFixture("carl.vcf"));
  const auto openListMenu = [&] { PostMessageW(viewer, kListMenuMessage, 0, MAKELPARAM(200, 200)); };
  PutClipboardMarker();
  RunMenu(openListMenu, 1, [&] { listLoadNextW_(parent_, viewer, next.Path().c_str(), 0); });
  EXPECT_EQ(Diagnostics(viewer).cardCount, 1);
  EXPECT_EQ(ClipboardText(), L"what the user had");
  // The same cards still there: the copy goes ahead.
  RunMenu(openListMenu, 2);
  EXPECT_EQ(ClipboardText(), L"+1 555 0100");
  PutClipboardMarker();
  RunMenu([&] { PostMessageW(viewer, kDetailsMenuMessage, 0, MAKELPARAM(200, 200)); }, 3,
          [&] { listCloseWindow_(viewer); });
  EXPECT_FALSE(IsWindow(viewer));
  EXPECT_EQ(ClipboardText(), L"what the user had");
  EXPECT_EQ(Diagnostics().liveViewers, 0);
  EXPECT_FALSE(AMenuOpensNow());
}

}  // namespace
}  // namespace kontaktel::test
