// The real DLL and its real window, driven with messages as a host would:
// child controls, details text and colours, tab stop, splitter, scrolling and
// photos.
#include <gtest/gtest.h>

#include <algorithm>
#include <richedit.h>
#include <windows.h>

#include <string>
#include <vector>

#include "photo/gdiplus_bitmap.h"
#include "present/details.h"
#include "support/plugin_fixture.h"
#include "support/test_images.h"
#include "support/window_probe.h"
#include "text/utf8.h"
#include "vcard/card_parser.h"

namespace kontaktel {
namespace {

using test::ChildRect;
using test::PluginTest;
using test::ScrollBars;
using test::TempFile;

constexpr char kTwoCards[] =
    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Anna M\xC3\xBCller\r\nTEL;TYPE=CELL:+49 170 1234567\r\n"
    "EMAIL;TYPE=WORK:anna@example.de\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Boris Petrov\r\nEMAIL:boris@example.ru\r\nNOTE:Chess on "
    "Fridays\r\n"
    "END:VCARD\r\n";

constexpr COLORREF kLightText = RGB(30, 30, 30), kLightCaption = RGB(110, 110, 110);
constexpr COLORREF kDarkText = RGB(220, 220, 220), kDarkCaption = RGB(160, 160, 160);

std::wstring Wide(const std::string& utf8) {
  std::wstring text;
  Utf8ToWide(utf8.data(), utf8.size(), false, text);
  return text;
}

class ViewerWindowTest : public PluginTest {
 protected:
  static void SetUpTestSuite() {
    PluginTest::SetUpTestSuite();
    AddGdiplusUser();  // for the test's own images
  }
  static void TearDownTestSuite() {
    ReleaseGdiplusUser();
    PluginTest::TearDownTestSuite();
  }

  // Loads a file into a viewer of the given client size.
  HWND Open(const TempFile& file, int width = 800, int height = 600, int flags = 0) {
    const HWND viewer = Load(file, flags);
    if (viewer != nullptr) MoveWindow(viewer, 0, 0, width, height, TRUE);
    Pump();
    return viewer;
  }

  static HWND Details(HWND viewer) { return GetDlgItem(viewer, 1002); }
  static HWND Photo(HWND viewer) { return GetDlgItem(viewer, 1001); }

  // The details scroll bar is the one at the viewer's right edge.
  static HWND DetailsBar(HWND viewer) {
    RECT client{};
    GetClientRect(viewer, &client);
    for (const HWND bar : ScrollBars(viewer)) {
      if (ChildRect(bar).right == client.right) return bar;
    }
    return nullptr;
  }

  static std::wstring DetailsText(HWND view) {
    std::wstring text(65536, L'\0');
    GETTEXTEX query{};
    query.cb = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    query.flags = GT_USECRLF;
    query.codepage = 1200;
    text.resize(
        static_cast<size_t>(SendMessageW(view, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&query),
                                         reinterpret_cast<LPARAM>(text.data()))));
    return text;
  }

  // The colour of the character at `position` (rich edit positions: a line end counts once).
  static COLORREF ColorAt(HWND view, LONG position) {
    CHARRANGE range{position, position + 1};
    SendMessageW(view, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    CHARFORMAT2W format{};
    format.cbSize = sizeof format;
    SendMessageW(view, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    return format.crTextColor;
  }

  // A rich edit position for an index into the CR LF text: each line end counts once there.
  static LONG Position(const std::wstring& text, size_t index) {
    LONG breaks = 0;
    for (size_t at = text.find(L"\r\n"); at != std::wstring::npos && at < index;
         at = text.find(L"\r\n", at + 2)) {
      ++breaks;
    }
    return static_cast<LONG>(index) - breaks;
  }

  static COLORREF Background(HWND view) {
    // Answers the previous colour; put it back at once.
    const auto previous =
        static_cast<COLORREF>(SendMessageW(view, EM_SETBKGNDCOLOR, 0, RGB(1, 2, 3)));
    SendMessageW(view, EM_SETBKGNDCOLOR, 0, previous);
    return previous;
  }

  static int TabStop(HWND view) {
    CHARRANGE all{0, 0};
    SendMessageW(view, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&all));
    PARAFORMAT format{};
    format.cbSize = sizeof format;
    SendMessageW(view, EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format));
    return format.cTabCount == 1 ? format.rgxTabs[0] : -static_cast<int>(format.cTabCount);
  }

  static std::wstring Rendered(const std::string& file, size_t card, bool russian) {
    const CardSet cards = ParseCards(Wide(file));
    return card < cards.size() ? RenderCardDetails(cards[card], russian) : std::wstring(L"(no such card)");
  }

  static std::wstring IniValue(const TempFile& ini, const wchar_t* key) {
    wchar_t value[64] = {};
    GetPrivateProfileStringW(L"Kontaktel", key, L"", value, 64, ini.Path().c_str());
    return value;
  }
};

TEST_F(ViewerWindowTest, ChildControlsWithTheirClassesIdsAndStyles) {
  TempFile file(kTwoCards);
  const HWND viewer = Open(file);
  ASSERT_NE(viewer, nullptr);
  struct Child {
    int id;
    const wchar_t* className;
    DWORD exStyle, style;
  };
  const Child children[] = {
      {1010, L"Edit", WS_EX_CLIENTEDGE, 0x50000080},
      {1011, L"Button", 0, 0x50000003},
      {1001, L"VCF_PHOTO_VIEW", 0, 0x40000000},  // hidden: the card has no photo
      {1002, L"RICHEDIT50W", WS_EX_CLIENTEDGE, 0x50008944},
  };
  for (const Child& c : children) {
    const HWND child = GetDlgItem(viewer, c.id);
    ASSERT_NE(child, nullptr) << c.id;
    wchar_t name[64] = {};
    GetClassNameW(child, name, 64);
    EXPECT_EQ(lstrcmpiW(name, c.className), 0) << c.id;
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrW(child, GWL_EXSTYLE)) & c.exStyle, c.exStyle)
        << c.id;
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrW(child, GWL_STYLE)) & (c.style | WS_VISIBLE),
              c.style)
        << c.id;
  }
  wchar_t caption[32] = {};
  GetWindowTextW(GetDlgItem(viewer, 1011), caption, 32);
  EXPECT_STREQ(caption, L"\xD83D\xDCF7 photo");
  const std::vector<HWND> bars = ScrollBars(viewer);
  ASSERT_EQ(bars.size(), 2u);
  for (const HWND bar : bars) {
    EXPECT_EQ(GetDlgCtrlID(bar), 0);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrW(bar, GWL_STYLE)) & 0x40000001u, 0x40000001u);
    EXPECT_EQ(ChildRect(bar).right - ChildRect(bar).left, GetSystemMetrics(SM_CXVSCROLL));
  }
  // The tooltip is a top-most popup; a child cannot own, so its owner is the host's window.
  const HWND tooltip = test::ViewerTooltip(viewer);
  ASSERT_NE(tooltip, nullptr);
  EXPECT_EQ(GetWindow(tooltip, GW_OWNER), parent_);
  EXPECT_NE(GetWindowLongPtrW(tooltip, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  listCloseWindow_(viewer);
  EXPECT_EQ(Diagnostics().gdiObjects, 0);
}

TEST_F(ViewerWindowTest, DetailsTextIsTheRenderedCardInEitherLanguage) {
  TempFile file(kTwoCards);
  const HWND viewer = Open(file);
  ASSERT_NE(viewer, nullptr);
  EXPECT_EQ(DetailsText(Details(viewer)), Rendered(kTwoCards, 0, false));
  ASSERT_EQ(listSearchTextW_(viewer, L"Boris", 1), 0);
  EXPECT_EQ(DetailsText(Details(viewer)), Rendered(kTwoCards, 1, false));
  // A new INI file naming a Russian language file: the open window follows at once.
  TempFile ini("[Configuration]\r\nLanguageIni=C:\\tc\\Language\\WCMD_RUS.LNG\r\n", L".ini");
  SetIni(Narrow(ini.Path()));
  EXPECT_EQ(DetailsText(Details(viewer)), Rendered(kTwoCards, 1, true));
}

// The host sizes the viewer only after ListLoadW returns. Filled at width 0,
// a rich edit breaks every character onto a line of its own, which made a card
// with a long note take minutes to load.
TEST_F(ViewerWindowTest, DetailsAreNeverWrappedAtWidthZeroBeforeTheHostSizesTheViewer) {
  TempFile file(kTwoCards);
  const HWND viewer = Load(file, 0);
  ASSERT_NE(viewer, nullptr);
  RECT client{};
  GetClientRect(Details(viewer), &client);
  EXPECT_GT(client.right - client.left, 100);
  const std::wstring text = DetailsText(Details(viewer));
  const auto lines = static_cast<LRESULT>(std::count(text.begin(), text.end(), L'\n')) + 1;
  EXPECT_EQ(SendMessageW(Details(viewer), EM_GETLINECOUNT, 0, 0), lines);
}

TEST_F(ViewerWindowTest, SystemSettingChangesReadTheIniFileAgain) {
  TempFile ini("[Kontaktel]\r\nListWidth=250\r\n", L".ini");
  SetIni(Narrow(ini.Path()));
  TempFile file(kTwoCards);
  const HWND viewer = Open(file);
  ASSERT_NE(viewer, nullptr);
  EXPECT_EQ(Diagnostics(viewer).listWidth, 250);
  WritePrivateProfileStringW(L"Kontaktel", L"ListWidth", L"320", ini.Path().c_str());
  WritePrivateProfileStringW(L"Configuration", L"LanguageIni", L"wcmd_rus.lng", ini.Path().c_str());
  SendMessageW(viewer, WM_SETTINGCHANGE, 0, 0);
  EXPECT_EQ(Diagnostics(viewer).listWidth, 320);
  EXPECT_EQ(ChildRect(Details(viewer)).left, 333);
  EXPECT_EQ(DetailsText(Details(viewer)), Rendered(kTwoCards, 0, true));
}

TEST_F(ViewerWindowTest, TabStopFollowsTheViewsWidth) {
  TempFile file(kTwoCards);
  const HWND viewer = Open(file);
  ASSERT_NE(viewer, nullptr);
  const HWND view = Details(viewer);
  for (const auto [clientWidth, twips] :
       {std::pair{400, 2280}, std::pair{100, 750}, std::pair{1000, 3600}}) {
    // Widen the viewer until the view's client area has the wanted width.
    int width = 800;
    for (int attempt = 0; attempt < 10; ++attempt) {
      MoveWindow(viewer, 0, 0, width, 600, TRUE);
      RECT client{};
      GetClientRect(view, &client);
      if (client.right == clientWidth) break;
      width += clientWidth - client.right;
    }
    RECT client{};
    GetClientRect(view, &client);
    ASSERT_EQ(client.right, clientWidth);
    EXPECT_EQ(TabStop(view), twips) << clientWidth;
  }
}

// Russian captions with their types are wider than the usual value column:
// it moves right for them, and every value starts at the same place.
TEST_F(ViewerWindowTest, RussianCaptionsLineUp) {
  TempFile ini("[Configuration]\r\nLanguageIni=WCMD_RUS.LNG\r\n", L".ini");
  SetIni(Narrow(ini.Path()));
  TempFile file(
      "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ivan\r\nTEL;TYPE=CELL,PREF:+7 916 555-01-23\r\n"
      "TEL;TYPE=WORK,VOICE:+7 495 555-44-10\r\nEMAIL;TYPE=HOME:ivan@example.ru\r\n"
      "BDAY:1986-04-17\r\nEND:VCARD\r\n");
  const HWND viewer = Open(file, 1000, 600);
  ASSERT_NE(viewer, nullptr);
  const HWND view = Details(viewer);
  const std::wstring text = DetailsText(view);
  ASSERT_NE(text.find(L"\x0422\x0435\x043B\x0435\x0444\x043E\x043D ("), std::wstring::npos);
  std::vector<LONG> valueColumns;
  for (size_t tab = text.find(L'\t'); tab != std::wstring::npos; tab = text.find(L'\t', tab + 1)) {
    POINTL at{};
    SendMessageW(view, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&at), Position(text, tab + 1));
    valueColumns.push_back(at.x);
  }
  ASSERT_EQ(valueColumns.size(), 5u);
  for (const LONG x : valueColumns) EXPECT_EQ(x, valueColumns[0]);
}

TEST_F(ViewerWindowTest, CaptionsAndValuesInBothPalettes) {
  TempFile file(kTwoCards);
  for (const bool dark : {false, true}) {
    const HWND viewer = Open(file, 800, 600, dark ? 0x80 : 0);
    ASSERT_NE(viewer, nullptr);
    const HWND view = Details(viewer);
    const std::wstring text = DetailsText(view);
    ASSERT_EQ(text.substr(0, 10), L"Full name\t");
    EXPECT_EQ(ColorAt(view, 0), dark ? kDarkCaption : kLightCaption);
    EXPECT_EQ(ColorAt(view, 8), dark ? kDarkCaption : kLightCaption);
    EXPECT_EQ(ColorAt(view, 10), dark ? kDarkText : kLightText);
    EXPECT_EQ(Background(view), dark ? RGB(32, 32, 32) : RGB(255, 255, 255));
    // A note's heading and its text keep the text colour throughout.
    ASSERT_EQ(listSearchTextW_(viewer, L"Boris", 1), 0);
    const std::wstring note = DetailsText(view);
    const size_t heading = note.find(L"\x2500\x2500 ");
    ASSERT_NE(heading, std::wstring::npos);
    EXPECT_EQ(ColorAt(view, Position(note, heading)), dark ? kDarkText : kLightText);
    EXPECT_EQ(ColorAt(view, Position(note, heading + 3)), dark ? kDarkText : kLightText);
    EXPECT_EQ(ColorAt(view, Position(note, note.find(L"Chess"))), dark ? kDarkText : kLightText);
    listCloseWindow_(viewer);
  }
}

TEST_F(ViewerWindowTest, PaletteChangesRefillTheOpenWindow) {
  TempFile file(kTwoCards);
  // The first load already in dark mode: no white details pane in a dark window.
  const HWND viewer = Open(file, 800, 600, 0x80);
  ASSERT_NE(viewer, nullptr);
  const HWND view = Details(viewer);
  EXPECT_EQ(Background(view), RGB(32, 32, 32));
  EXPECT_EQ(ColorAt(view, 10), kDarkText);
  // The host's new parameters without dark mode: light at once.
  EXPECT_EQ(listSendCommand_(viewer, 2, 0), 0);
  EXPECT_EQ(Background(view), RGB(255, 255, 255));
  EXPECT_EQ(ColorAt(view, 0), kLightCaption);
  EXPECT_EQ(ColorAt(view, 10), kLightText);
  // A second viewer's load in dark mode turns the first one dark as well.
  const HWND second = Open(file, 800, 600, 0x100);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(Background(view), RGB(32, 32, 32));
  EXPECT_EQ(ColorAt(view, 10), kDarkText);
}

TEST_F(ViewerWindowTest, AWrappedValueWithAColonKeepsTheValueColour) {
  const std::string card =
      "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Clara\r\nTITLE:Head of the department for unusually long "
      "job titles and "
      "similar things, Room: 5, Floor: 3\r\nEND:VCARD\r\n";
  TempFile file(card);
  const HWND viewer = Open(file, 560, 600);  // a narrow details column: the title wraps
  ASSERT_NE(viewer, nullptr);
  const HWND view = Details(viewer);
  ASSERT_GT(SendMessageW(view, EM_GETLINECOUNT, 0, 0), 3);  // more display lines than text lines
  const std::wstring text = DetailsText(view);
  const size_t room = text.find(L"Room:");
  ASSERT_NE(room, std::wstring::npos);
  const LONG position = Position(text, room);
  EXPECT_EQ(ColorAt(view, position), kLightText);
  EXPECT_EQ(ColorAt(view, position + 4), kLightText);
  EXPECT_EQ(ColorAt(view, Position(text, text.find(L"\r\n") + 2)), kLightCaption);  // the caption
}

TEST_F(ViewerWindowTest, RichTextInACardIsShownAsWritten) {
  // An Apple label becomes a caption as it stands, so a card can begin the text.
  const std::string card =
      "BEGIN:VCARD\r\nVERSION:3.0\r\nitem1.X-ABLABEL:{\\rtf1\\ansi \\b Injected}\r\nitem1.TEL:+1 "
      "555 0199\r\n"
      "END:VCARD\r\n";
  TempFile file(card);
  const HWND viewer = Open(file);
  ASSERT_NE(viewer, nullptr);
  const std::wstring expected = Rendered(card, 0, false);
  ASSERT_EQ(expected.substr(0, 5), L"{\\rtf");
  EXPECT_EQ(DetailsText(Details(viewer)), expected);
}

TEST_F(ViewerWindowTest, SplitterDragClampsAndStoresTheWidth) {
  TempFile ini("[Kontaktel]\r\nListWidth=300\r\n", L".ini");
  SetIni(Narrow(ini.Path()));
  TempFile file(kTwoCards);
  const HWND viewer = Open(file);
  ASSERT_NE(viewer, nullptr);
  const auto drag = [&](int from, int to) {
    SendMessageW(viewer, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from, 200));
    SendMessageW(viewer, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to, 200));
    SendMessageW(viewer, WM_LBUTTONUP, 0, MAKELPARAM(to, 200));
  };
  drag(302, 400);
  EXPECT_EQ(IniValue(ini, L"ListWidth"), L"400");
  EXPECT_EQ(Diagnostics(viewer).listWidth, 400);
  EXPECT_EQ(ChildRect(GetDlgItem(viewer, 1011)).right, 396);  // the check box follows the column
  EXPECT_EQ(ChildRect(Details(viewer)).left, 413);
  drag(400, 10);  // far left: 160
  EXPECT_EQ(IniValue(ini, L"ListWidth"), L"160");
  drag(160, 790);  // far right: the details keep 220
  EXPECT_EQ(IniValue(ini, L"ListWidth"), L"580");
  // A press beside the splitter is no drag; a drag that loses the capture stores nothing.
  drag(100, 300);
  EXPECT_EQ(IniValue(ini, L"ListWidth"), L"580");
  SendMessageW(viewer, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(580, 200));
  SendMessageW(viewer, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(350, 200));
  ReleaseCapture();
  SendMessageW(viewer, WM_LBUTTONUP, 0, MAKELPARAM(350, 200));
  EXPECT_EQ(IniValue(ini, L"ListWidth"), L"580");
  EXPECT_EQ(Diagnostics(viewer).listWidth, 350);
  // The next file in the same window reads the stored width again.
  EXPECT_EQ(listLoadNextW_(parent_, viewer, file.Path().c_str(), 0), 0);
  EXPECT_EQ(Diagnostics(viewer).listWidth, 580);
}

TEST_F(ViewerWindowTest, TallDetailsScrollAsOneColumn) {
  std::string card = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Long Notes\r\nNOTE:";
  for (int i = 0; i < 60; ++i) card += "line " + std::to_string(i) + "\\n";
  card += "\r\nEND:VCARD\r\nBEGIN:VCARD\r\nVERSION:3.0\r\nFN:Short\r\nEND:VCARD\r\n";
  TempFile file(card);
  const HWND viewer = Open(file, 800, 400);
  ASSERT_NE(viewer, nullptr);
  const HWND view = Details(viewer), bar = DetailsBar(viewer);
  ASSERT_NE(bar, nullptr);
  EXPECT_TRUE(IsWindowVisible(bar));
  EXPECT_EQ(ChildRect(view).top, 12);
  // The view is as tall as its text: the column scrolls, never the view.
  EXPECT_GT(ChildRect(view).bottom - ChildRect(view).top, 60 * 14);
  SendMessageW(viewer, WM_VSCROLL, SB_LINEDOWN, reinterpret_cast<LPARAM>(bar));
  EXPECT_EQ(ChildRect(view).top, 12 - 30);
  SendMessageW(viewer, WM_VSCROLL, SB_LINEUP, reinterpret_cast<LPARAM>(bar));
  SendMessageW(viewer, WM_VSCROLL, SB_LINEUP, reinterpret_cast<LPARAM>(bar));
  EXPECT_EQ(ChildRect(view).top, 12);
  SendMessageW(viewer, WM_VSCROLL, SB_BOTTOM, reinterpret_cast<LPARAM>(bar));
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  GetScrollInfo(bar, SB_CTL, &info);
  const int maxScroll = info.nMax - static_cast<int>(info.nPage) + 1;
  EXPECT_GT(maxScroll, 0);
  EXPECT_EQ(info.nPos, maxScroll);
  EXPECT_EQ(ChildRect(view).top, 12 - maxScroll);
  EXPECT_EQ(ChildRect(view).bottom, 400 - 12);  // the text's end a gap above the window's bottom
  // The wheel over the details column scrolls it by 40, also from inside the view.
  POINT over{500, 200};
  ClientToScreen(viewer, &over);
  SendMessageW(viewer, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(over.x, over.y));
  EXPECT_EQ(ChildRect(view).top, 12 - maxScroll + 40);
  SendMessageW(view, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(over.x, over.y));
  EXPECT_EQ(ChildRect(view).top, 12 - maxScroll + 80);
  // A card that fits hides the bar and starts at the top.
  ASSERT_EQ(listSearchTextW_(viewer, L"Short", 1), 0);
  EXPECT_FALSE(IsWindowVisible(bar));
  EXPECT_EQ(ChildRect(view).top, 12);
}

// A note taller than any window: the view stays one page high and scrolls its
// own text, and wheel, scroll bar and keys all reach the last line without
// measuring the text again.
TEST_F(ViewerWindowTest, ALongNoteScrollsToItsLastLineMeasuredOncePerFill) {
  std::string card = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Long Notes\r\nNOTE:";
  for (int i = 0; i < 3000; ++i) card += "line " + std::to_string(i) + "\\n";
  card += "the end\r\nEND:VCARD\r\nBEGIN:VCARD\r\nVERSION:3.0\r\nFN:Short\r\nEND:VCARD\r\n";
  TempFile file(card);
  const HWND viewer = Open(file, 800, 400);
  ASSERT_NE(viewer, nullptr);
  const HWND view = Details(viewer), bar = DetailsBar(viewer);
  ASSERT_NE(bar, nullptr);
  const int measures = Diagnostics(viewer).detailsMeasures;
  const LONG last = static_cast<LONG>(DetailsText(view).rfind(L"the end"));
  const auto lastLineShown = [&] {
    POINTL at{};
    SendMessageW(view, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&at), last);
    POINT point{at.x, at.y};
    MapWindowPoints(view, viewer, &point, 1);
    return point.y >= 0 && point.y + 14 <= 400;
  };
  const auto position = [&] {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(bar, SB_CTL, &info);
    return std::pair{info.nPos, info.nMax - static_cast<int>(info.nPage) + 1};
  };
  EXPECT_GT(position().second, 3000 * 12);
  EXPECT_LE(ChildRect(view).bottom - ChildRect(view).top, 400);
  EXPECT_FALSE(lastLineShown());
  SendMessageW(viewer, WM_VSCROLL, SB_BOTTOM, reinterpret_cast<LPARAM>(bar));
  EXPECT_TRUE(lastLineShown());
  SendMessageW(viewer, WM_VSCROLL, SB_TOP, reinterpret_cast<LPARAM>(bar));
  EXPECT_FALSE(lastLineShown());
  // Ten notches up from the end and eleven down again.
  POINT over{500, 200};
  ClientToScreen(viewer, &over);
  SendMessageW(viewer, WM_VSCROLL, SB_BOTTOM, reinterpret_cast<LPARAM>(bar));
  for (const int delta : {WHEEL_DELTA, -WHEEL_DELTA}) {
    for (int notch = 0; notch < (delta > 0 ? 10 : 11); ++notch)
      SendMessageW(view, WM_MOUSEWHEEL, MAKEWPARAM(0, delta), MAKELPARAM(over.x, over.y));
    EXPECT_EQ(lastLineShown(), delta < 0);
  }
  EXPECT_EQ(position().first, position().second);
  // Keys in the view scroll its text; the column's bar follows.
  SendMessageW(viewer, WM_VSCROLL, SB_TOP, reinterpret_cast<LPARAM>(bar));
  BYTE keys[256] = {};
  keys[VK_CONTROL] = 0x80;
  SetKeyboardState(keys);
  SendMessageW(view, WM_KEYDOWN, VK_END, 0);
  keys[VK_CONTROL] = 0;
  SetKeyboardState(keys);
  EXPECT_TRUE(lastLineShown());
  EXPECT_GT(position().first, position().second - 100);
  EXPECT_EQ(Diagnostics(viewer).detailsMeasures, measures);
  // Select-all and copy take the whole text.
  SendMessageW(view, EM_SETSEL, 0, -1);
  SendMessageW(view, WM_COPY, 0, 0);
  EXPECT_EQ(test::ClipboardText().value_or(L"").size(), DetailsText(view).size());
  ASSERT_EQ(listSearchTextW_(viewer, L"Short", 1), 0);
  EXPECT_EQ(Diagnostics(viewer).detailsMeasures, measures + 1);
  EXPECT_EQ(position().first, 0);
}

TEST_F(ViewerWindowTest, PhotosAreShownScaledDownNeverUp) {
  const std::vector<uint8_t> wide = test::EncodeImage(L"image/png", 1000, 500);
  const std::vector<uint8_t> small = test::EncodeImage(L"image/jpeg", 100, 50);
  const std::vector<uint8_t> bmp = test::EncodeImage(L"image/bmp", 64, 32);
  const std::vector<uint8_t> gif = test::MakeGif(30, 20);
  ASSERT_FALSE(wide.empty());
  TempFile file(test::CardWithPhoto("Wide", wide) + test::CardWithPhoto("Small", small) +
                test::CardWithPhoto("Bitmap", bmp) + test::CardWithPhoto("Animated", gif) +
                "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Nobody\r\nEND:VCARD\r\n");
  // 742 pixels wide: the details column is 400 pixels wide at 96 DPI.
  const HWND viewer = Open(file, 742, 600);
  ASSERT_NE(viewer, nullptr);
  const HWND pane = Photo(viewer);
  struct Case {
    const wchar_t* name;
    long width, height;
  };
  for (const Case c : {Case{L"Wide", 360, 180}, Case{L"Small", 100, 50}, Case{L"Bitmap", 64, 32},
                       Case{L"Animated", 30, 20}}) {
    ASSERT_EQ(listSearchTextW_(viewer, c.name, 1), 0);
    EXPECT_TRUE(IsWindowVisible(pane)) << c.name;
    const RECT rect = ChildRect(pane);
    EXPECT_EQ(rect.left, 313) << c.name;
    EXPECT_EQ(rect.top, 12) << c.name;
    EXPECT_EQ(rect.right - rect.left, c.width) << c.name;
    EXPECT_EQ(rect.bottom - rect.top, c.height) << c.name;
    EXPECT_EQ(ChildRect(Details(viewer)).top, 12 + c.height + 8) << c.name;
  }
  // What the pane paints: the background in the 2-pixel margin, then the photo's two halves.
  ASSERT_EQ(listSearchTextW_(viewer, L"Bitmap", 1), 0);
  EXPECT_EQ(test::PrintedPixel(pane, 1, 1), RGB(255, 255, 255));
  EXPECT_EQ(test::PrintedPixel(pane, 4, 4), RGB(0x30, 0x60, 0xC0));
  EXPECT_EQ(test::PrintedPixel(pane, 50, 20), RGB(0xE0, 0xA0, 0x20));
  ASSERT_EQ(listSearchTextW_(viewer, L"Nobody", 1), 0);
  EXPECT_FALSE(IsWindowVisible(pane));
  EXPECT_EQ(ChildRect(Details(viewer)).top, 12);
  EXPECT_EQ(Diagnostics(viewer).photoWidth, 0);
}

// A 6,000 x 6,000 photo is kept at the pane's size, not at its own 144 MB.
TEST_F(ViewerWindowTest, AHugePhotoIsKeptAtThePanesSize) {
  const std::vector<uint8_t> huge = test::EncodeImage(L"image/png", 6000, 6000);
  ASSERT_FALSE(huge.empty());
  TempFile file(test::CardWithPhoto("Huge", huge));
  const HWND viewer = Open(file);
  ASSERT_NE(viewer, nullptr);
  EXPECT_EQ(Diagnostics(viewer).photoWidth, 360);
  EXPECT_EQ(Diagnostics(viewer).photoHeight, 360);
  const HWND pane = Photo(viewer);
  EXPECT_EQ(ChildRect(pane).right - ChildRect(pane).left, 360);
  EXPECT_EQ(test::PrintedPixel(pane, 4, 4), RGB(0x30, 0x60, 0xC0));
  EXPECT_EQ(test::PrintedPixel(pane, 350, 350), RGB(0xE0, 0xA0, 0x20));
}

}  // namespace
}  // namespace kontaktel
