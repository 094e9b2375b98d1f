// The contact list, the filter strip, the host's search and the status text,
// driven through the real DLL and its real window with messages, read back as
// the user sees them: the page's rows, the tooltip, pixels, the status text.
#include <windows.h>
// These need the types of windows.h.
#include <commctrl.h>
#include <gtest/gtest.h>
#include <richedit.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "plugin/diagnostics.h"
#include "plugin/list_diagnostics.h"
#include "support/plugin_fixture.h"
#include "support/temp_file.h"
#include "support/window_probe.h"

namespace kontaktel {
namespace {

using test::TempFile;

constexpr int kFilterEditId = 1010;
constexpr int kPhotoOnlyCheckId = 1011;
constexpr int kDetailsViewId = 1002;
constexpr char kPng[] =
    "iVBORw0KGgoAAAANSUhEUgAAAAIAAAACCAIAAAD91JpzAAAAD0lEQVR4nGNgaGAAIQgFAA4OAgFhGn2EAAAAAElFTkSuQm"
    "CC";

std::string Card(const std::string& lines) {
  return "BEGIN:VCARD\r\nVERSION:3.0\r\n" + lines + "END:VCARD\r\n";
}

// n cards named "Card 000" ... with a phone each.
std::string NumberedCards(int n) {
  std::string text;
  for (int i = 0; i < n; ++i) {
    char line[96];
    std::snprintf(line, sizeof line, "FN:Card %03d\r\nTEL:+1 555 %04d\r\n", i, i);
    text += Card(line);
  }
  return text;
}

class ContactListTest : public test::PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    Get(listView_, "KontaktelGetListView");
    Get(listRow_, "KontaktelGetListRow");
  }

  // Loads a file into a viewer of the given client size (at 96 DPI a height
  // of 500 holds 7 rows) and paints it once.
  HWND Open(const TempFile& file, int width = 800, int height = 500) {
    const HWND viewer = Load(file);
    if (viewer != nullptr) {
      MoveWindow(viewer, 0, 0, width, height, TRUE);
      Paint(viewer);
    }
    return viewer;
  }

  static void Paint(HWND viewer) {
    InvalidateRect(viewer, nullptr, FALSE);
    UpdateWindow(viewer);
  }

  KontaktelDiagnostics State(HWND viewer) const { return Diagnostics(viewer); }

  KontaktelListView View(HWND viewer) const {
    KontaktelListView record{};
    record.size = sizeof record;
    EXPECT_TRUE(listView_(viewer, &record));
    return record;
  }

  std::optional<KontaktelListRow> Row(HWND viewer, int pageRow) const {
    KontaktelListRow record{};
    record.size = sizeof record;
    if (!listRow_(viewer, pageRow, &record)) return std::nullopt;
    return record;
  }

  std::vector<std::wstring> Names(HWND viewer) const {
    std::vector<std::wstring> names;
    for (int i = 0; auto row = Row(viewer, i); ++i) names.push_back(row->name);
    return names;
  }

  static HWND Child(HWND viewer, int id) { return GetDlgItem(viewer, id); }

  // The list scroll bar is the scroll bar left of the splitter.
  static HWND ListScrollBar(HWND viewer) {
    for (const HWND bar : test::ScrollBars(viewer)) {
      if (test::ChildRect(bar).left < 400) return bar;
    }
    return nullptr;
  }

  static void Type(HWND viewer, const wchar_t* text) {
    SetWindowTextW(Child(viewer, kFilterEditId), text);  // sends EN_CHANGE
    Paint(viewer);
  }

  static void ClickPhotoOnly(HWND viewer) {
    SendMessageW(Child(viewer, kPhotoOnlyCheckId), BM_CLICK, 0, 0);
    Paint(viewer);
  }

  static void Key(HWND target, UINT key) {
    SendMessageW(target, WM_KEYDOWN, key, 0);
    Paint(GetParent(target) == parent_ ? target : GetParent(target));
  }

  // Client coordinates, packed as the system packs them (signed 16 bits).
  static LPARAM Point(int x, int y) {
    return static_cast<LPARAM>(static_cast<uint16_t>(static_cast<int16_t>(x))) |
           (static_cast<LPARAM>(static_cast<uint16_t>(static_cast<int16_t>(y))) << 16);
  }

  static void Click(HWND viewer, int x, int y) {
    SendMessageW(viewer, WM_LBUTTONDOWN, MK_LBUTTON, Point(x, y));
    SendMessageW(viewer, WM_LBUTTONUP, 0, Point(x, y));
    Paint(viewer);
  }

  // The y of the middle of page row `row` at 96 DPI: filter strip 34, pad 8,
  // rows of 60.
  static int RowY(int row) { return 34 + 8 + row * 60 + 30; }

  static void Wheel(HWND viewer, int x, int y, int delta) {
    POINT screen{x, y};
    ClientToScreen(viewer, &screen);
    SendMessageW(viewer, WM_MOUSEWHEEL,
                 MAKEWPARAM(0, static_cast<WORD>(static_cast<int16_t>(delta))),
                 MAKELPARAM(screen.x, screen.y));
    Paint(viewer);
  }

  static void Scroll(HWND viewer, int code) {
    SendMessageW(viewer, WM_VSCROLL, MAKEWPARAM(code, 0),
                 reinterpret_cast<LPARAM>(ListScrollBar(viewer)));
    Paint(viewer);
  }

  static std::wstring TooltipText(HWND viewer) {
    wchar_t buffer[256] = {};
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = viewer;
    tool.uId = 1;
    tool.lpszText = buffer;
    SendMessageW(test::ViewerTooltip(viewer), TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&tool));
    return buffer;
  }

  BOOL(__stdcall* listView_)(HWND, KontaktelListView*) = nullptr;
  BOOL(__stdcall* listRow_)(HWND, int, KontaktelListRow*) = nullptr;
};

TEST_F(ContactListTest, RowsShowTheNameAndTheFirstDetailByTheRules) {
  const std::string file =
      Card(
          "FN:Phone Person\r\nTEL:+7 900 "
          "111\r\nEMAIL:p@example.com\r\nURL:mailto:x@example.com\r\n") +
      Card("FN:Mail Person\r\nEMAIL:m@example.com\r\n") + Card("FN:Acme Group\r\nKIND:group\r\n") +
      Card("FN:Link Person\r\nURL:MAILTO:Link@Example.com?subject=hi\r\n") +
      Card("FN:Note Person\r\nNOTE:write to note@example.org.\r\n") + Card("TEL:+49 30 1234\r\n") +
      Card("ORG:Nobody\r\n") +
      Card("FN:Inline Photo\r\nPHOTO;ENCODING=b;TYPE=PNG:" + std::string(kPng) + "\r\n") +
      Card("FN:Address Photo\r\nPHOTO;VALUE=URL:https://example.com/p.jpg\r\n");
  TempFile vcf(file);
  const HWND viewer = Open(vcf, 800, 640);
  ASSERT_NE(viewer, nullptr);
  ASSERT_GE(View(viewer).rowsPerPage, 9);
  const std::pair<std::wstring, std::wstring> expected[] = {
      {L"Phone Person", L"Tel: +7 900 111"},
      {L"Mail Person", L"Email: m@example.com"},
      {L"Acme Group", L"Kind: group"},
      {L"Link Person", L"Email: Link@Example.com"},
      {L"Note Person", L"Email: note@example.org."},
      {L"(empty card)", L"Tel: +49 30 1234"},
      {L"(empty card)", L""},
      {L"Inline Photo \U0001F4F7", L""},
      {L"Address Photo \U0001F4F7", L""},
  };
  for (int i = 0; i < 9; ++i) {
    const auto row = Row(viewer, i);
    ASSERT_TRUE(row) << i;
    EXPECT_EQ(row->card, i);
    EXPECT_EQ(std::wstring(row->name), expected[i].first) << i;
    EXPECT_EQ(std::wstring(row->detail), expected[i].second) << i;
  }
  EXPECT_FALSE(Row(viewer, 9));
}

TEST_F(ContactListTest, RussianRowsSayKindAndEmptyCardInRussian) {
  TempFile ini("[Configuration]\r\nLanguageIni=c:\\tc\\language\\wcmd_rus.lng\r\n", L".ini");
  SetIni(Narrow(ini.Path()));
  TempFile vcf(Card("FN:Acme\r\nKIND:org\r\n") + Card("TEL:+7 1\r\n") +
               Card("PHOTO;VALUE=URL:https://example.com/p.jpg\r\n"));
  const HWND viewer = Open(vcf);
  ASSERT_NE(viewer, nullptr);
  ASSERT_EQ(State(viewer).uiRussian, 1);
  EXPECT_EQ(std::wstring(Row(viewer, 0)->detail), L"Тип: org");
  EXPECT_EQ(std::wstring(Row(viewer, 1)->name), L"(пустая карточка)");
  EXPECT_EQ(std::wstring(Row(viewer, 1)->detail), L"Tel: +7 1");
  EXPECT_EQ(std::wstring(Row(viewer, 2)->name), L"(пустая карточка) \U0001F4F7");
  EXPECT_EQ(std::wstring(View(viewer).status), L"Контактов: 3  (1/3)");
}

TEST_F(ContactListTest, KeysWalkTheListAHundredCardsSevenRowsPerPage) {
  TempFile vcf(NumberedCards(100));
  const HWND viewer = Open(vcf);
  ASSERT_NE(viewer, nullptr);
  ASSERT_EQ(View(viewer).rowsPerPage, 7);
  Key(viewer, VK_NEXT);
  EXPECT_EQ(State(viewer).selected, 7);
  EXPECT_EQ(View(viewer).topRow, 1);
  Key(viewer, VK_END);
  EXPECT_EQ(State(viewer).selected, 99);
  EXPECT_EQ(View(viewer).topRow, 93);  // the last card on the last line of the page
  EXPECT_EQ(Row(viewer, 6)->card, 99);
  EXPECT_EQ(Row(viewer, 6)->shade, 1);
  Key(viewer, VK_PRIOR);
  EXPECT_EQ(State(viewer).selected, 92);
  EXPECT_EQ(View(viewer).topRow, 92);
  Key(viewer, VK_HOME);
  EXPECT_EQ(State(viewer).selected, 0);
  EXPECT_EQ(View(viewer).topRow, 0);
  Key(viewer, VK_UP);  // not handled at the first row
  EXPECT_EQ(State(viewer).selected, 0);
  Key(viewer, VK_DOWN);
  EXPECT_EQ(State(viewer).selected, 1);
}

TEST_F(ContactListTest, ClicksSelectOnlyRowsThatAreDrawn) {
  TempFile vcf(NumberedCards(100));
  const HWND viewer = Open(vcf);
  ASSERT_NE(viewer, nullptr);
  Click(viewer, 100, RowY(2));
  EXPECT_EQ(State(viewer).selected, 2);
  EXPECT_EQ(GetFocus(), viewer);
  // Below the seventh row the list has room for no whole row: the card there
  // is not on screen, so the click selects nothing.
  Click(viewer, 100, 34 + 8 + 7 * 60 + 6);
  EXPECT_EQ(State(viewer).selected, 2);
  // Left of the window (a second monitor), in the filter strip, in the status strip.
  Click(viewer, -5, RowY(4));
  Click(viewer, 100, 10);
  Click(viewer, 100, 495);
  Click(viewer, 100, -20);
  EXPECT_EQ(State(viewer).selected, 2);
  // Scrolled down by a row, the same place selects the next card.
  Scroll(viewer, SB_LINEDOWN);
  Click(viewer, 100, RowY(2));
  EXPECT_EQ(State(viewer).selected, 3);
}

TEST_F(ContactListTest, WheelAndScrollBarMoveThePageNotTheSelection) {
  TempFile vcf(NumberedCards(100));
  const HWND viewer = Open(vcf);
  ASSERT_NE(viewer, nullptr);
  Wheel(viewer, 100, RowY(3), -120);
  Wheel(viewer, 100, RowY(3), -120);
  EXPECT_EQ(View(viewer).topRow, 2);
  Wheel(viewer, 100, RowY(3), 120);
  EXPECT_EQ(View(viewer).topRow, 1);
  Wheel(viewer, 600, RowY(3), -120);  // over the details: the list stays
  EXPECT_EQ(View(viewer).topRow, 1);
  Scroll(viewer, SB_PAGEDOWN);
  EXPECT_EQ(View(viewer).topRow, 7);
  Scroll(viewer, SB_PAGEUP);
  EXPECT_EQ(View(viewer).topRow, 1);
  Scroll(viewer, SB_BOTTOM);
  EXPECT_EQ(View(viewer).topRow, 93);
  EXPECT_EQ(Row(viewer, 0)->card, 93);
  Scroll(viewer, SB_LINEDOWN);
  EXPECT_EQ(View(viewer).topRow, 93);
  Scroll(viewer, SB_TOP);
  EXPECT_EQ(View(viewer).topRow, 0);
  Scroll(viewer, SB_LINEUP);
  EXPECT_EQ(View(viewer).topRow, 0);
  EXPECT_EQ(State(viewer).selected, 0);
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  GetScrollInfo(ListScrollBar(viewer), SB_CTL, &info);
  EXPECT_EQ(info.nMax, 99);
  EXPECT_EQ(info.nPage, 7u);
  EXPECT_TRUE(IsWindowVisible(ListScrollBar(viewer)));
}

TEST_F(ContactListTest, AShortListNeverScrollsPastItsStartAndClicksBelowItSelectNothing) {
  TempFile vcf(NumberedCards(3));
  const HWND viewer = Open(vcf);
  ASSERT_NE(viewer, nullptr);
  Click(viewer, 100, RowY(1));
  Click(viewer, 100, RowY(4));
  EXPECT_EQ(State(viewer).selected, 1);
  Scroll(viewer, SB_BOTTOM);
  Wheel(viewer, 100, RowY(1), -120);
  Scroll(viewer, SB_PAGEDOWN);
  EXPECT_EQ(View(viewer).topRow, 0);
  Key(viewer, VK_END);
  EXPECT_EQ(State(viewer).selected, 2);
  EXPECT_EQ(View(viewer).topRow, 0);
  EXPECT_EQ(Names(viewer).size(), 3u);
  EXPECT_FALSE(IsWindowVisible(ListScrollBar(viewer)));
}

TEST_F(ContactListTest, KeysFromTheFilterEditAndTheCheckBoxReachTheList) {
  TempFile vcf(NumberedCards(100));
  const HWND viewer = Open(vcf);
  ASSERT_NE(viewer, nullptr);
  const HWND edit = Child(viewer, kFilterEditId);
  const HWND check = Child(viewer, kPhotoOnlyCheckId);
  ASSERT_NE(edit, nullptr);
  ASSERT_NE(check, nullptr);
  EXPECT_EQ(SendMessageW(edit, WM_GETDLGCODE, 0, 0) & 7, 7);
  EXPECT_EQ(SendMessageW(check, WM_GETDLGCODE, 0, 0) & 7, 7);

  SetFocus(edit);
  Key(edit, VK_DOWN);
  EXPECT_EQ(State(viewer).selected, 1);
  EXPECT_EQ(GetFocus(), viewer);  // the next Down is the viewer's own
  Key(viewer, VK_DOWN);
  EXPECT_EQ(State(viewer).selected, 2);
  SetFocus(edit);
  Key(edit, VK_NEXT);
  EXPECT_EQ(State(viewer).selected, 9);
  SetFocus(edit);
  Key(edit, VK_END);  // the edit's own caret key
  EXPECT_EQ(State(viewer).selected, 9);
  EXPECT_EQ(GetFocus(), edit);
  Key(edit, VK_RETURN);
  EXPECT_EQ(GetFocus(), viewer);

  SetFocus(check);
  Key(check, VK_END);
  EXPECT_EQ(State(viewer).selected, 99);
  EXPECT_EQ(GetFocus(), viewer);
  SetFocus(check);
  Key(check, VK_HOME);
  EXPECT_EQ(State(viewer).selected, 0);
}

TEST_F(ContactListTest, FilterAndPhotoOnlyTogether) {
  TempFile vcf(Card("FN:Ann Photo\r\nPHOTO;VALUE=URL:https://example.com/a.jpg\r\n") +
               Card("FN:Ann Plain\r\nTEL;TYPE=CELL:+1 2\r\n") +
               Card("FN:Bob Photo\r\nPHOTO;ENCODING=b;TYPE=PNG:" + std::string(kPng) + "\r\n") +
               Card("FN:Joanna\r\n"));
  const HWND viewer = Open(vcf);
  ASSERT_NE(viewer, nullptr);
  Type(viewer, L"ANN");
  EXPECT_EQ(Names(viewer),
            (std::vector<std::wstring>{L"Ann Photo \U0001F4F7", L"Ann Plain", L"Joanna"}));
  Type(viewer, L"ann");
  EXPECT_EQ(Names(viewer).size(), 3u);
  ClickPhotoOnly(viewer);
  EXPECT_EQ(Names(viewer), (std::vector<std::wstring>{L"Ann Photo \U0001F4F7"}));
  EXPECT_EQ(std::wstring(View(viewer).status), L"Contacts: 1/4  (1/4)  \U0001F4F7");
  EXPECT_EQ(GetFocus(), viewer);
  Type(viewer, L"");
  EXPECT_EQ(Names(viewer).size(), 2u);
  ClickPhotoOnly(viewer);
  EXPECT_EQ(Names(viewer).size(), 4u);
  // The phone's type is matched too.
  Type(viewer, L"cell");
  EXPECT_EQ(Names(viewer), (std::vector<std::wstring>{L"Ann Plain"}));
  EXPECT_EQ(State(viewer).selected, 1);
  EXPECT_EQ(Row(viewer, 0)->shade, 1);
}

TEST_F(ContactListTest, CyrillicFilterInEitherCase) {
  TempFile vcf(Card("FN:Анна Иванова\r\n") + Card("FN:Борис\r\n") + Card("FN:АННА Петрова\r\n"));
  const HWND viewer = Open(vcf);
  ASSERT_NE(viewer, nullptr);
  for (const wchar_t* needle : {L"анна", L"АННА", L"аННа"}) {
    Type(viewer, needle);
    EXPECT_EQ(Names(viewer), (std::vector<std::wstring>{L"Анна Иванова", L"АННА Петрова"}))
        << needle;
  }
  Type(viewer, L"БОРИС");
  EXPECT_EQ(Names(viewer), (std::vector<std::wstring>{L"Борис"}));
}

TEST_F(ContactListTest, AFilterThatMatchesNothingKeepsTheFirstCardShown) {
  TempFile vcf(NumberedCards(5));
  const HWND viewer = Open(vcf);
  ASSERT_NE(viewer, nullptr);
  Key(viewer, VK_DOWN);
  Type(viewer, L"nobody here");
  EXPECT_TRUE(Names(viewer).empty());
  EXPECT_EQ(State(viewer).selected, 0);
  EXPECT_EQ(std::wstring(View(viewer).status), L"Contacts: 0/5  (1/5)");
  EXPECT_FALSE(IsWindowVisible(ListScrollBar(viewer)));
  Key(viewer, VK_DOWN);  // nothing to walk
  EXPECT_EQ(State(viewer).selected, 0);
}

TEST_F(ContactListTest, OnlyNamesOfTwentyEightCharactersGetATooltip) {
  const std::string name27(27, 'n'), name28 = "Anna-Maria Konstantinopolsk";  // 27 + 1 below
  TempFile vcf(Card("FN:" + name27 + "\r\n") + Card("FN:" + name28 + "a\r\n") +
               Card("FN:Short\r\n"));
  const HWND viewer = Open(vcf);
  ASSERT_NE(viewer, nullptr);
  ASSERT_NE(test::ViewerTooltip(viewer), nullptr);
  SendMessageW(viewer, WM_MOUSEMOVE, 0, Point(100, RowY(1)));
  EXPECT_EQ(TooltipText(viewer), L"Anna-Maria Konstantinopolska");
  SendMessageW(viewer, WM_MOUSEMOVE, 0, Point(100, RowY(0)));
  EXPECT_EQ(TooltipText(viewer), L"");
  SendMessageW(viewer, WM_MOUSEMOVE, 0, Point(100, RowY(1)));
  EXPECT_EQ(TooltipText(viewer), L"Anna-Maria Konstantinopolska");
  SendMessageW(viewer, WM_MOUSEMOVE, 0, Point(100, RowY(5)));  // below the last row
  EXPECT_EQ(TooltipText(viewer), L"");
}

TEST_F(ContactListTest, StatusTextAsInTheExample) {
  // 120 cards; seven hold "Zed" and a photo; five hold "Blue".
  std::string file;
  for (int i = 0; i < 120; ++i) {
    const bool zed = i == 2 || (i % 10 == 0 && i >= 10 && i <= 60);
    const bool blue = i == 1 || i == 2 || i == 70 || i == 80 || i == 90;
    std::string lines = "FN:Person " + std::to_string(i) + (zed ? " Zed" : "") + "\r\n";
    if (zed) lines += "PHOTO;VALUE=URL:https://example.com/" + std::to_string(i) + ".jpg\r\n";
    if (blue) lines += "NOTE:Blue door\r\n";
    file += Card(lines);
  }
  TempFile vcf(file);
  const HWND viewer = Open(vcf);
  ASSERT_NE(viewer, nullptr);
  EXPECT_EQ(std::wstring(View(viewer).status), L"Contacts: 120  (1/120)");
  EXPECT_EQ(listSearchTextW_(viewer, L"blue", 1), 0);
  EXPECT_EQ(listSearchTextW_(viewer, L"blue", 0), 0);
  EXPECT_EQ(State(viewer).selected, 2);
  Type(viewer, L"zed");
  ClickPhotoOnly(viewer);
  EXPECT_EQ(std::wstring(View(viewer).status),
            L"Contacts: 7/120  (3/120)  \U0001F4F7  |  Found: 5 (2/5)");
  EXPECT_EQ(listSearchTextW_(viewer, L"no such text", 1), 1);
  EXPECT_EQ(std::wstring(View(viewer).status),
            L"Contacts: 7/120  (3/120)  \U0001F4F7  |  Found: 0");
}

TEST_F(ContactListTest, SearchSelectsTheHitAndTheFoundTextInTheDetails) {
  TempFile vcf(Card("FN:Carl\r\n") + Card("FN:Dora Blue\r\nNOTE:likes the sea\r\n") +
               Card("FN:Emil\r\n"));
  const HWND viewer = Open(vcf);
  ASSERT_NE(viewer, nullptr);
  EXPECT_EQ(listSearchTextW_(viewer, L"SEA", 1), 0);
  EXPECT_EQ(State(viewer).selected, 1);
  const HWND details = Child(viewer, kDetailsViewId);
  ASSERT_NE(details, nullptr);
  CHARRANGE range{};
  SendMessageW(details, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
  ASSERT_EQ(range.cpMax - range.cpMin, 3);
  wchar_t found[8] = {};
  TEXTRANGEW text{range, found};
  SendMessageW(details, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&text));
  EXPECT_STREQ(found, L"sea");
  Paint(viewer);
  EXPECT_EQ(Row(viewer, 1)->shade, 1);
}

TEST_F(ContactListTest, SearchBringsTextFoundFarDownIntoView) {
  std::string note = "NOTE:";
  for (int i = 0; i < 80; ++i) note += "line " + std::to_string(i) + "\\n";
  note += "the buried treasure\r\n";
  TempFile vcf(Card("FN:Carl\r\n") + Card("FN:Dora\r\n" + note));
  const HWND viewer = Open(vcf);
  ASSERT_NE(viewer, nullptr);
  EXPECT_EQ(listSearchTextW_(viewer, L"treasure", 1), 0);
  Pump();
  const HWND details = Child(viewer, kDetailsViewId);
  CHARRANGE range{};
  SendMessageW(details, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
  ASSERT_EQ(range.cpMax - range.cpMin, 8);
  POINTL at{};
  SendMessageW(details, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&at), range.cpMin);
  POINT point{at.x, at.y};
  MapWindowPoints(details, viewer, &point, 1);
  EXPECT_GE(point.y, 0);
  EXPECT_LT(point.y, 500 - 20);
}

TEST_F(ContactListTest, ASearchHitHiddenByTheFilterStaysSelected) {
  TempFile vcf(Card("FN:Carl\r\n") + Card("FN:Dora\r\n") + Card("FN:Emil\r\n"));
  const HWND viewer = Open(vcf);
  ASSERT_NE(viewer, nullptr);
  Type(viewer, L"carl");
  EXPECT_EQ(listSearchTextW_(viewer, L"dora", 1), 0);
  Paint(viewer);
  EXPECT_EQ(State(viewer).selected, 1);
  EXPECT_EQ(View(viewer).selectedRow, -1);
  EXPECT_EQ(Row(viewer, 0)->shade, 0);
  Type(viewer, L"carl");  // the same text again moves nothing
  EXPECT_EQ(State(viewer).selected, 1);
  // A filter that matches nothing: the next paints and keys must not move
  // the selection off the hit the details show.
  Type(viewer, L"zzz");
  EXPECT_EQ(listSearchTextW_(viewer, L"emil", 1), 0);
  Paint(viewer);
  Paint(viewer);
  Key(viewer, VK_DOWN);
  EXPECT_EQ(State(viewer).selected, 2);
  EXPECT_EQ(std::wstring(View(viewer).status), L"Contacts: 0/3  (3/3)  |  Found: 1 (1/1)");
}

TEST_F(ContactListTest, MatchColoursStayAcrossAFilterChange) {
  TempFile vcf(Card("FN:Anna\r\n") + Card("FN:Boris\r\n") + Card("FN:Hanna\r\n") +
               Card("FN:Ivan\r\n"));
  const HWND viewer = Open(vcf);
  ASSERT_NE(viewer, nullptr);
  EXPECT_EQ(listSearchTextW_(viewer, L"anna", 1), 0);  // Anna and Hanna; Anna selected
  Paint(viewer);
  EXPECT_EQ(Row(viewer, 0)->shade, 1);
  EXPECT_EQ(Row(viewer, 2)->shade, 2);
  const COLORREF match = RGB(255, 249, 196);
  EXPECT_EQ(test::PrintedPixel(viewer, 12, RowY(2)), match);
  Type(viewer, L"n");  // Anna, Hanna, Ivan stay
  EXPECT_EQ(Names(viewer), (std::vector<std::wstring>{L"Anna", L"Hanna", L"Ivan"}));
  EXPECT_EQ(Row(viewer, 1)->shade, 2);
  EXPECT_EQ(Row(viewer, 2)->shade, 0);
  EXPECT_EQ(test::PrintedPixel(viewer, 12, RowY(1)), match);
  EXPECT_NE(test::PrintedPixel(viewer, 12, RowY(2)), match);
  EXPECT_EQ(State(viewer).matchCount, 2);
}

TEST_F(ContactListTest, MatchesAndTheSelectionHaveTheirColoursInTheDarkPalette) {
  TempFile vcf(Card("FN:Anna\r\n") + Card("FN:Boris\r\n") + Card("FN:Hanna\r\n"));
  const HWND viewer = Load(vcf, 0x80);
  ASSERT_NE(viewer, nullptr);
  MoveWindow(viewer, 0, 0, 800, 500, TRUE);
  EXPECT_EQ(listSearchTextW_(viewer, L"anna", 1), 0);
  Paint(viewer);
  EXPECT_EQ(test::PrintedPixel(viewer, 12, RowY(2)), RGB(48, 60, 40));
  EXPECT_NE(test::PrintedPixel(viewer, 12, RowY(0)), RGB(48, 60, 40));  // selected and a match
  EXPECT_NE(test::PrintedPixel(viewer, 12, RowY(1)), RGB(48, 60, 40));
}

TEST_F(ContactListTest, ANewFileUnderAFilterSelectsItsFirstShownCard) {
  TempFile first(Card("FN:Carl\r\n")),
      second(Card("FN:Dora\r\n") + Card("FN:Emil\r\n") + Card("FN:Carla\r\n"));
  const HWND viewer = Open(first);
  ASSERT_NE(viewer, nullptr);
  Type(viewer, L"carl");
  ASSERT_EQ(listLoadNextW_(parent_, viewer, second.Path().c_str(), 0), 0);
  Paint(viewer);
  EXPECT_EQ(State(viewer).selected, 2);
  EXPECT_EQ(View(viewer).selectedRow, 0);
  EXPECT_EQ(Names(viewer), (std::vector<std::wstring>{L"Carla"}));
  wchar_t filter[16] = {};
  GetWindowTextW(Child(viewer, kFilterEditId), filter, 16);
  EXPECT_STREQ(filter, L"carl");
}

}  // namespace
}  // namespace kontaktel
