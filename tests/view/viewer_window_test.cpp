// The real DLL and its real window where a scenario cannot say it: the child
// controls, details never wrapped at width 0, the details column's scrolling
// and photos scaled down, never up.
#include <gtest/gtest.h>
#include <richedit.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "photo/gdiplus_bitmap.h"
#include "support/test_images.h"
#include "support/viewer_driver.h"

namespace kontaktel::test {
namespace {

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

  static HWND Details(HWND viewer) { return GetDlgItem(viewer, kDetailsId); }
  static HWND Photo(HWND viewer) { return GetDlgItem(viewer, kPhotoPaneId); }

  // The details scroll bar is the one at the viewer's right edge.
  static HWND DetailsBar(HWND viewer) {
    RECT client{};
    GetClientRect(viewer, &client);
    for (const HWND bar : ScrollBars(viewer)) {
      if (ChildRect(bar).right == client.right) return bar;
    }
    return nullptr;
  }
};

// The controls a user meets, and where they stand: the filter edit and the
// photo-only box above the list, the list's scroll bar beside it, the details
// right of the list, every control inside the window and none over another.
TEST_F(ViewerWindowTest, ChildControlsAndWhereTheyStand) {
  const HWND viewer = Open(ReadFixture("two-cards.vcf"), 0, 800, 600);
  ASSERT_NE(viewer, nullptr);
  const auto className = [](HWND child) {
    wchar_t name[64] = {};
    GetClassNameW(child, name, 64);
    return std::wstring(name);
  };
  const HWND edit = GetDlgItem(viewer, kFilterEditId), check = GetDlgItem(viewer, kPhotoOnlyId);
  const HWND details = Details(viewer), photo = Photo(viewer);
  EXPECT_EQ(className(edit), L"Edit");
  EXPECT_EQ(className(check), L"Button");
  EXPECT_EQ(className(details), L"RichEdit50W");
  EXPECT_NE(GetWindowLongPtrW(details, GWL_STYLE) & ES_READONLY, 0);
  EXPECT_FALSE(IsWindowVisible(photo));  // the card has no photo
  wchar_t caption[32] = {};
  GetWindowTextW(check, caption, 32);
  EXPECT_STREQ(caption, L"\xD83D\xDCF7 photo");
  const std::vector<HWND> bars = ScrollBars(viewer);
  ASSERT_EQ(bars.size(), 2u);
  RECT client{};
  GetClientRect(viewer, &client);
  const RECT e = ChildRect(edit), c = ChildRect(check), d = ChildRect(details);
  const RECT listBar = std::min(ChildRect(bars[0]), ChildRect(bars[1]),
                                [](const RECT& x, const RECT& y) { return x.left < y.left; });
  EXPECT_TRUE(e.right <= c.left && e.top == c.top && e.bottom == c.bottom);  // one strip
  EXPECT_TRUE(c.right <= listBar.right && listBar.top >= c.bottom && listBar.right <= d.left);
  EXPECT_TRUE(e.left >= 0 && d.right <= client.right && d.bottom <= client.bottom);
  // The tooltip is a top-most popup; a child cannot own, so its owner is the host's window.
  const HWND tooltip = ViewerTooltip(viewer);
  ASSERT_NE(tooltip, nullptr);
  EXPECT_EQ(GetWindow(tooltip, GW_OWNER), parent_);
  EXPECT_NE(GetWindowLongPtrW(tooltip, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  listCloseWindow_(viewer);
  EXPECT_EQ(Diagnostics().gdiObjects, 0);
}

// The host sizes the viewer only after ListLoadW returns. Filled at width 0,
// a rich edit breaks every character onto a line of its own, which made a card
// with a long note take minutes to load.
TEST_F(ViewerWindowTest, DetailsAreNeverWrappedAtWidthZeroBeforeTheHostSizesTheViewer) {
  TempFile file(ReadFixture("two-cards.vcf"));
  const HWND viewer = Load(file, 0);
  ASSERT_NE(viewer, nullptr);
  RECT client{};
  GetClientRect(Details(viewer), &client);
  EXPECT_GT(client.right - client.left, 100);
  const std::wstring text = DetailsText(Details(viewer));
  const auto lines = static_cast<LRESULT>(std::count(text.begin(), text.end(), L'\n')) + 1;
  EXPECT_EQ(SendMessageW(Details(viewer), EM_GETLINECOUNT, 0, 0), lines);
}








TEST_F(ViewerWindowTest, TallDetailsScrollAsOneColumn) {
  std::string card = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Long Notes\r\nNOTE:";
  for (int i = 0; i < 60; ++i) card += "line " + std::to_string(i) + "\\n";
  card += "\r\nEND:VCARD\r\nBEGIN:VCARD\r\nVERSION:3.0\r\nFN:Short\r\nEND:VCARD\r\n";
  const HWND viewer = Open(card, 0, 800, 400);
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

TEST_F(ViewerWindowTest, PhotosAreShownScaledDownNeverUp) {
  const std::vector<uint8_t> wide = EncodeImage(L"image/png", 1000, 500);
  const std::vector<uint8_t> small = EncodeImage(L"image/jpeg", 100, 50);
  const std::vector<uint8_t> bmp = EncodeImage(L"image/bmp", 64, 32);
  const std::vector<uint8_t> gif = MakeGif(30, 20);
  ASSERT_FALSE(wide.empty());
  const std::string file(CardWithPhoto("Wide", wide) + CardWithPhoto("Small", small) +
                CardWithPhoto("Bitmap", bmp) + CardWithPhoto("Animated", gif) +
                "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Nobody\r\nEND:VCARD\r\n");
  // 742 pixels wide: the details column is 400 pixels wide at 96 DPI.
  const HWND viewer = Open(file, 0, 742, 600);
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
  EXPECT_EQ(PrintedPixel(pane, 1, 1), RGB(255, 255, 255));
  EXPECT_EQ(PrintedPixel(pane, 4, 4), RGB(0x30, 0x60, 0xC0));
  EXPECT_EQ(PrintedPixel(pane, 50, 20), RGB(0xE0, 0xA0, 0x20));
  ASSERT_EQ(listSearchTextW_(viewer, L"Nobody", 1), 0);
  EXPECT_FALSE(IsWindowVisible(pane));
  EXPECT_EQ(ChildRect(Details(viewer)).top, 12);
}

}  // namespace
}  // namespace kontaktel::test
