// The context menus, Ctrl+C, Escape and the host's copy and select-all
// commands, driven through the real DLL with real windows and read back from
// the real clipboard, as a user or the host would.
#include <gtest/gtest.h>
#include <richedit.h>
#include <windows.h>

#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "support/plugin_fixture.h"
#include "support/temp_file.h"
#include "support/window_probe.h"

namespace {

using kontaktel::test::ClipboardText;
using kontaktel::test::PluginTest;
using kontaktel::test::TempFile;

constexpr UINT kListMenuMessage = WM_APP + 40;
constexpr UINT kDetailsMenuMessage = WM_APP + 41;
constexpr int kDetailsViewId = 1002;
constexpr int kFilterEditId = 1010;
constexpr int kPhotoOnlyId = 1011;

// Anna has everything; Boris has no phone and his address only in a mailto
// link; the third card is empty.
constexpr char kCards[] =
    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Anna M\xC3\xBCller\r\nTEL;TYPE=CELL:+49 170 1234567\r\n"
    "EMAIL:anna@example.com\r\nTITLE:Engineer\r\nNOTE:Chess club: Fridays 19:00\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Boris "
    "Petrov\r\nURL:mailto:boris@example.ru?subject=Hi\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:3.0\r\nEND:VCARD\r\n";

constexpr wchar_t kAnnaEnglish[] =
    L"Full name\tAnna M\x00FCller\r\nPhone (Mobile)\t+49 170 1234567\r\nEmail\tanna@example.com\r\n"
    L"Role\tEngineer\r\n\r\n\x2500\x2500 Note \x2500\x2500\r\nChess club: Fridays 19:00\r\n\r\n";
constexpr wchar_t kAnnaRussian[] =
    L"Полное имя\tAnna M\x00FCller\r\nТелефон (Мобильный)\t+49 170 "
    L"1234567\r\nПочта\tanna@example.com\r\n"
    L"Должность\tEngineer\r\n\r\n\x2500\x2500 Заметка \x2500\x2500\r\nChess club: Fridays "
    L"19:00\r\n\r\n";

// Puts a marker on the clipboard, so that a test sees whether a copy touched it.
void PutMarker() {
  const std::wstring marker = L"what the user had";
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (marker.size() + 1) * sizeof(wchar_t));
  std::memcpy(GlobalLock(memory), marker.c_str(), (marker.size() + 1) * sizeof(wchar_t));
  GlobalUnlock(memory);
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  SetClipboardData(CF_UNICODETEXT, memory);
  CloseClipboard();
}

// What the menu timer does while a menu is tracked: the menu loop dispatches
// thread timers and reads keys from the queue.
struct MenuPlan {
  int choose = 0;  // 1-based item; 0 cancels with Escape
  std::vector<std::wstring> items;
  std::function<void()> during;  // runs while the menu is open
  int ticks = 0;
};
MenuPlan plan;

void CALLBACK OnMenuTimer(HWND, UINT, UINT_PTR timer, DWORD) {
  const HWND menuWindow = FindWindowW(L"#32768", nullptr);
  if ((menuWindow == nullptr || !IsWindowVisible(menuWindow)) && ++plan.ticks < 40) return;
  KillTimer(nullptr, timer);
  if (menuWindow == nullptr) return;
  const HMENU menu =
      reinterpret_cast<HMENU>(SendMessageW(menuWindow, 0x01E1 /* MN_GETHMENU */, 0, 0));
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    wchar_t text[128] = {};
    GetMenuStringW(menu, static_cast<UINT>(i), text, 128, MF_BYPOSITION);
    plan.items.push_back(text);
  }
  if (plan.during) plan.during();
  HWND target = GetFocus();
  if (target == nullptr) target = menuWindow;
  if (plan.choose == 0) {
    PostMessageW(target, WM_KEYDOWN, VK_ESCAPE, 0);
    return;
  }
  for (int i = 0; i < plan.choose; ++i) PostMessageW(target, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageW(target, WM_KEYDOWN, VK_RETURN, 0);
}

class MenuTest : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    plan = MenuPlan{};
    SetForegroundWindow(parent_);
  }

  // Keys typed into a menu are translated as the host's loop does it.
  static void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }

  void UseRussian(bool russian) {
    ini_.emplace(russian ? "[Configuration]\r\nLanguageIni=WCMD_RUS.LNG\r\n"
                         : "[Configuration]\r\nLanguageIni=WCMD_ENG.LNG\r\n",
                 L".ini");
    SetIni(Narrow(ini_->Path()));
  }

  HWND Open(const char* bytes = kCards) {
    file_.emplace(bytes);
    const HWND viewer = listLoadW_(parent_, file_->Path().c_str(), 0);
    if (viewer != nullptr) {
      RECT client{};
      GetClientRect(parent_, &client);
      MoveWindow(viewer, 0, 0, client.right, client.bottom, TRUE);
      UpdateWindow(viewer);
      Pump();
    }
    return viewer;
  }

  void Select(HWND viewer, int index) {
    // Down from the first card, as the user would.
    SendMessageW(viewer, WM_KEYDOWN, VK_HOME, 0);
    for (int i = 0; i < index; ++i) SendMessageW(viewer, WM_KEYDOWN, VK_DOWN, 0);
    ASSERT_EQ(Diagnostics(viewer).selected, index);
  }

  // Runs `open`, then picks item `choose` with keys while the menu is
  // tracked; the items it showed.
  static std::vector<std::wstring> MenuAfter(const std::function<void()>& open, int choose) {
    plan.choose = choose;
    plan.items.clear();
    plan.ticks = 0;
    SetTimer(nullptr, 0, 50, OnMenuTimer);
    open();
    Pump();
    return plan.items;
  }

  // A menu opened by posting its message, as the right button does.
  static std::vector<std::wstring> RunMenu(HWND viewer, UINT message, int choose) {
    return MenuAfter([&] { PostMessageW(viewer, message, 0, MAKELPARAM(200, 200)); }, choose);
  }

  // Lets the timer run once more without opening anything: a menu that opens
  // now is recorded and closed.
  bool AMenuOpensNow() {
    plan = MenuPlan{};
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, OnMenuTimer);
    const DWORD until = GetTickCount() + 400;
    while (GetTickCount() < until) {
      Pump();
      Sleep(10);
    }
    KillTimer(nullptr, timer);
    return !plan.items.empty();
  }

  static HWND DetailsView(HWND viewer) { return GetDlgItem(viewer, kDetailsViewId); }

  // A screen point on the given character of the details view.
  static POINT OnCharacter(HWND view, LONG index) {
    POINTL point{};
    SendMessageW(view, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&point), index);
    return POINT{point.x + 2, point.y + 3};
  }

  static LONG Find(HWND view, const wchar_t* text) {
    FINDTEXTEXW find{{0, -1}, text, {}};
    return static_cast<LONG>(
        SendMessageW(view, EM_FINDTEXTEXW, 1 /* FR_DOWN */, reinterpret_cast<LPARAM>(&find)));
  }

  static void PressCtrl(bool down) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = down ? 0x80 : 0;
    SetKeyboardState(keys);
  }

  // Whether the host's window was asked to close (Escape and WM_CLOSE posted to it).
  static bool HostAskedToClose() {
    MSG message;
    bool escape = false, close = false;
    while (PeekMessageW(&message, parent_, 0, 0, PM_REMOVE)) {
      escape |= message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE;
      close |= message.message == WM_CLOSE;
    }
    return escape && close;
  }

  std::optional<TempFile> file_, ini_;
};

TEST_F(MenuTest, BothMenusCopyEachItemInBothLanguages) {
  struct Case {
    bool russian;
    std::vector<std::wstring> items, detailsItems;
    const wchar_t* cardText;
  };
  const Case cases[] = {
      {false,
       {L"Copy name", L"Copy phone", L"Copy email", L"Copy card text", L"Copy as vCard"},
       {L"Copy", L"Copy line value", L"Copy all"},
       kAnnaEnglish},
      {true,
       {L"Копировать имя", L"Копировать телефон", L"Копировать email", L"Копировать карточку",
        L"Копировать как vCard"},
       {L"Копировать", L"Копировать строку (значение)", L"Копировать всё"},
       kAnnaRussian},
  };
  for (const Case& c : cases) {
    UseRussian(c.russian);
    const HWND viewer = Open();
    ASSERT_NE(viewer, nullptr);
    const wchar_t* expected[] = {L"Anna M\x00FCller", L"+49 170 1234567", L"anna@example.com",
                                 c.cardText};
    for (int item = 1; item <= 4; ++item) {
      PutMarker();
      EXPECT_EQ(RunMenu(viewer, kListMenuMessage, item), c.items) << item;
      EXPECT_EQ(ClipboardText(), expected[item - 1]) << item;
      EXPECT_EQ(GetFocus(), viewer);
    }
    PutMarker();
    EXPECT_EQ(RunMenu(viewer, kDetailsMenuMessage, 3), c.detailsItems);
    EXPECT_EQ(ClipboardText(), c.cardText);
    listCloseWindow_(viewer);
  }
}

TEST_F(MenuTest, WhatACardLacksLeavesTheClipboardAsItWas) {
  const HWND viewer = Open();
  ASSERT_NE(viewer, nullptr);
  Select(viewer, 1);  // Boris: no phone, an address only in his mailto link
  PutMarker();
  RunMenu(viewer, kListMenuMessage, 2);
  EXPECT_EQ(ClipboardText(), L"what the user had");
  RunMenu(viewer, kListMenuMessage, 3);
  EXPECT_EQ(ClipboardText(), L"boris@example.ru");
  Select(viewer, 2);  // the empty card: no name, and an empty details view
  PutMarker();
  RunMenu(viewer, kListMenuMessage, 1);
  EXPECT_EQ(ClipboardText(), L"what the user had");
  RunMenu(viewer, kListMenuMessage, 4);
  EXPECT_EQ(ClipboardText(), L"");
  // A cancelled menu copies nothing.
  PutMarker();
  Select(viewer, 0);
  EXPECT_EQ(RunMenu(viewer, kListMenuMessage, 0).size(), 5u);
  EXPECT_EQ(ClipboardText(), L"what the user had");
}

TEST_F(MenuTest, RightClickOnADetailsLineCopiesItsValue) {
  const HWND viewer = Open();
  ASSERT_NE(viewer, nullptr);
  const HWND view = DetailsView(viewer);
  ASSERT_NE(view, nullptr);
  struct Case {
    const wchar_t* onText;
    int item;
    const wchar_t* copied;
  };
  const Case cases[] = {
      {L"1234567", 2, L"+49 170 1234567"},  // "Copy line value" without the caption
      {L"1234567", 1, L"+49 170 1234567"},  // "Copy" without a selection copies the same
      {L"Fridays", 2, L"Fridays 19:00"},    // a note line with a colon and no tab
      {L"Engineer", 3, kAnnaEnglish},       // "Copy all"
  };
  for (const Case& c : cases) {
    const LONG at = Find(view, c.onText);
    ASSERT_GE(at, 0) << c.onText;
    const POINT point = OnCharacter(view, at);
    PutMarker();
    SendMessageW(view, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(point.x, point.y));
    const auto items = MenuAfter(
        [&] { SendMessageW(view, WM_RBUTTONUP, 0, MAKELPARAM(point.x, point.y)); }, c.item);
    EXPECT_EQ(items.size(), 3u) << c.onText;
    EXPECT_EQ(ClipboardText(), c.copied) << c.onText;
  }
}

TEST_F(MenuTest, RightClickOnASelectionKeepsItForCopy) {
  const HWND viewer = Open();
  ASSERT_NE(viewer, nullptr);
  const HWND view = DetailsView(viewer);
  const LONG at = Find(view, L"anna@example.com");
  ASSERT_GE(at, 0);
  SendMessageW(view, EM_SETSEL, at, at + 4);
  const POINT point = OnCharacter(view, Find(view, L"Engineer"));
  SendMessageW(view, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(point.x, point.y));
  RunMenu(viewer, kDetailsMenuMessage, 1);
  EXPECT_EQ(ClipboardText(), L"anna");
}

TEST_F(MenuTest, RightButtonOverTheListOpensTheListMenuForTheSelectedCard) {
  const HWND viewer = Open();
  ASSERT_NE(viewer, nullptr);
  Select(viewer, 1);
  // A row below Boris's: the menu still acts on the selected card.
  EXPECT_EQ(
      MenuAfter([&] { SendMessageW(viewer, WM_RBUTTONUP, 0, MAKELPARAM(40, 200)); }, 1).size(), 5u);
  EXPECT_EQ(ClipboardText(), L"Boris Petrov");
  // Over the filter strip and right of the list nothing opens.
  SendMessageW(viewer, WM_RBUTTONUP, 0, MAKELPARAM(40, 5));
  SendMessageW(viewer, WM_RBUTTONUP, 0, MAKELPARAM(700, 200));
  EXPECT_FALSE(AMenuOpensNow());
}

TEST_F(MenuTest, ContextMenuKeyOpensTheMenuUnderTheCursor) {
  const HWND viewer = Open();
  ASSERT_NE(viewer, nullptr);
  struct Case {
    POINT client;
    size_t items;
  };
  for (const Case c : {Case{{40, 200}, 5u}, Case{{600, 200}, 3u}}) {
    POINT screen = c.client;
    ClientToScreen(viewer, &screen);
    SetCursorPos(screen.x, screen.y);
    const auto items = MenuAfter(
        [&] { SendMessageW(viewer, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(viewer), -1); }, 0);
    EXPECT_EQ(items.size(), c.items) << c.client.x;
  }
  const HWND view = DetailsView(viewer);
  const auto items =
      MenuAfter([&] { SendMessageW(view, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(view), -1); }, 0);
  EXPECT_EQ(items.size(), 3u);
  // A WM_CONTEXTMENU from the mouse opens nothing.
  SendMessageW(viewer, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(viewer), MAKELPARAM(100, 100));
  EXPECT_FALSE(AMenuOpensNow());
}

TEST_F(MenuTest, NoSecondMenuWhileOneIsOpen) {
  const HWND viewer = Open();
  const HWND other = Open();
  ASSERT_NE(viewer, nullptr);
  ASSERT_NE(other, nullptr);
  int requestsPosted = -1;
  plan.during = [&] {
    // Every way of asking for a menu, in both windows, while this one is open:
    // none of them posts a menu request.
    for (const HWND window : {viewer, other}) {
      SendMessageW(window, WM_RBUTTONUP, 0, MAKELPARAM(40, 200));
      SendMessageW(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window), -1);
      SendMessageW(GetDlgItem(window, kDetailsViewId), WM_RBUTTONUP, 0, MAKELPARAM(10, 10));
      SendMessageW(GetDlgItem(window, kDetailsViewId), WM_CONTEXTMENU, 0, -1);
    }
    MSG message;
    requestsPosted =
        PeekMessageW(&message, nullptr, kListMenuMessage, kDetailsMenuMessage, PM_NOREMOVE);
  };
  PutMarker();
  RunMenu(viewer, kListMenuMessage, 2);
  EXPECT_EQ(plan.items.size(), 5u);
  EXPECT_EQ(requestsPosted, 0);
  EXPECT_EQ(ClipboardText(), L"+49 170 1234567");
  EXPECT_FALSE(AMenuOpensNow());
}

TEST_F(MenuTest, NothingIsCopiedWhenTheWindowChangedUnderTheMenu) {
  // The menu loop runs the host's messages: the next file may arrive, or the
  // window may be closed, before the chosen command runs.
  const HWND viewer = Open();
  ASSERT_NE(viewer, nullptr);
  const TempFile next("BEGIN:VCARD\r\nFN:Carl\r\nTEL:+1 555 0100\r\nEND:VCARD\r\n");
  plan.during = [&] { listLoadNextW_(parent_, viewer, next.Path().c_str(), 0); };
  PutMarker();
  RunMenu(viewer, kListMenuMessage, 1);
  EXPECT_EQ(Diagnostics(viewer).cardCount, 1);
  EXPECT_EQ(ClipboardText(), L"what the user had");
  // The same cards still there: the copy goes ahead.
  plan.during = nullptr;
  RunMenu(viewer, kListMenuMessage, 2);
  EXPECT_EQ(ClipboardText(), L"+1 555 0100");

  PutMarker();
  plan.during = [&] { listCloseWindow_(viewer); };
  RunMenu(viewer, kDetailsMenuMessage, 3);
  EXPECT_FALSE(IsWindow(viewer));
  EXPECT_EQ(ClipboardText(), L"what the user had");
  EXPECT_EQ(Diagnostics().liveViewers, 0);
  EXPECT_FALSE(AMenuOpensNow());
}

TEST_F(MenuTest, CtrlCInTheViewerCopiesTheName) {
  const HWND viewer = Open();
  ASSERT_NE(viewer, nullptr);
  SetFocus(viewer);
  PressCtrl(true);
  PutMarker();
  SendMessageW(viewer, WM_KEYDOWN, 'C', 0);
  EXPECT_EQ(ClipboardText(), L"Anna M\x00FCller");
  Select(viewer, 2);  // no name: nothing
  PutMarker();
  SendMessageW(viewer, WM_KEYDOWN, 'C', 0);
  EXPECT_EQ(ClipboardText(), L"what the user had");
  PressCtrl(false);
  SendMessageW(viewer, WM_KEYDOWN, 'C', 0);  // C alone copies nothing
  EXPECT_EQ(ClipboardText(), L"what the user had");
}

TEST_F(MenuTest, CtrlCInTheDetailsView) {
  const HWND viewer = Open();
  ASSERT_NE(viewer, nullptr);
  const HWND view = DetailsView(viewer);
  SetFocus(view);
  PressCtrl(true);
  struct Case {
    HWND target;  // where the key arrives
    const wchar_t* select;
    int length;
    const wchar_t* copied;
  };
  const Case cases[] = {
      {view, L"anna@example.com", 4, L"anna"},    // the control's own copy
      {view, L"1234567", 0, L"+49 170 1234567"},  // no selection: the line's value
      {viewer, L"Engineer", 3, L"Eng"},           // the viewer passes it on
      {viewer, L"Fridays", 0, L"Fridays 19:00"},
  };
  for (const Case& c : cases) {
    const LONG at = Find(view, c.select);
    SendMessageW(view, EM_SETSEL, at, at + c.length);
    SetFocus(view);
    PutMarker();
    SendMessageW(c.target, WM_KEYDOWN, 'C', 0);
    EXPECT_EQ(ClipboardText(), c.copied) << c.select;
  }
  PressCtrl(false);
}

TEST_F(MenuTest, EscapeFromEveryControlAsksTheHostToClose) {
  const HWND viewer = Open();
  ASSERT_NE(viewer, nullptr);
  struct Case {
    HWND window;
    UINT message;
  };
  const HWND view = DetailsView(viewer), filter = GetDlgItem(viewer, kFilterEditId),
             check = GetDlgItem(viewer, kPhotoOnlyId);
  ASSERT_NE(filter, nullptr);
  ASSERT_NE(check, nullptr);
  const Case cases[] = {
      {viewer, WM_KEYDOWN}, {view, WM_KEYDOWN},      {view, WM_CHAR},     {view, WM_SYSKEYDOWN},
      {filter, WM_KEYDOWN}, {filter, WM_SYSKEYDOWN}, {check, WM_KEYDOWN}, {check, WM_SYSKEYDOWN},
  };
  for (const Case& c : cases) {
    HostAskedToClose();  // drain
    SendMessageW(c.window, c.message, VK_ESCAPE, 0);
    EXPECT_TRUE(HostAskedToClose()) << c.window << " " << c.message;
  }
}

TEST_F(MenuTest, HostsCopyAndSelectAll) {
  const HWND viewer = Open();
  ASSERT_NE(viewer, nullptr);
  const HWND view = DetailsView(viewer);
  PutMarker();
  EXPECT_EQ(listSendCommand_(viewer, 1, 0), 0);
  EXPECT_EQ(ClipboardText(), kAnnaEnglish);
  const LONG at = Find(view, L"Engineer");
  SendMessageW(view, EM_SETSEL, at, at + 8);
  EXPECT_EQ(listSendCommand_(viewer, 1, 0), 0);
  EXPECT_EQ(ClipboardText(), L"Engineer");
  // Ctrl+A and Ctrl+C in the host's viewer: the card's text.
  EXPECT_EQ(listSendCommand_(viewer, 3, 0), 0);
  CHARRANGE all{};
  SendMessageW(view, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&all));
  EXPECT_EQ(all.cpMin, 0);
  EXPECT_GE(all.cpMax, static_cast<LONG>(GetWindowTextLengthW(view)) - 8);
  PutMarker();
  EXPECT_EQ(listSendCommand_(viewer, 1, 0), 0);
  EXPECT_EQ(ClipboardText(), kAnnaEnglish);
  EXPECT_EQ(listSendCommand_(parent_, 1, 0), 1);
  EXPECT_EQ(listSendCommand_(parent_, 3, 0), 1);
}

}  // namespace
