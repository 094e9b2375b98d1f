// The window's layout as numbers: client size, DPI, list width and photo in,
// rectangles out.
#include "view/layout.h"

#include <gtest/gtest.h>

namespace kontaktel {
namespace {

struct Rect {
  long left, top, right, bottom;
};
void ExpectRect(const RECT& actual, Rect expected, const char* what) {
  EXPECT_EQ(actual.left, expected.left) << what;
  EXPECT_EQ(actual.top, expected.top) << what;
  EXPECT_EQ(actual.right, expected.right) << what;
  EXPECT_EQ(actual.bottom, expected.bottom) << what;
}

TEST(LayoutTest, DefaultColumnAt96Dpi) {
  LayoutInput input;
  input.clientWidth = 800;
  input.clientHeight = 600;
  const ViewerLayout layout =
      ComputeLayout(input, [](int width) { return width == 458 ? 200 : -1; });
  EXPECT_EQ(layout.listPaneWidth, 300);
  EXPECT_EQ(layout.topHeight, 34);
  EXPECT_EQ(layout.statusHeight, 18);
  EXPECT_EQ(layout.listHeight, 548);
  ExpectRect(layout.filterEdit, {4, 4, 220, 30}, "filter");
  ExpectRect(layout.photoOnlyCheck, {224, 4, 296, 30}, "check");
  ExpectRect(layout.listScrollBar, {283, 34, 300, 582}, "list bar");
  EXPECT_EQ(layout.detailsX, 313);
  EXPECT_EQ(layout.detailsWidth, 458);
  ExpectRect(layout.photoPane, {313, 12, 313, 12}, "no photo");
  // Text that fits: the view reaches the bottom of the window, nothing scrolls.
  ExpectRect(layout.detailsView, {313, 12, 771, 588}, "details");
  ExpectRect(layout.detailsScrollBar, {783, 0, 800, 600}, "details bar");
  EXPECT_EQ(layout.contentHeight, 600);
  EXPECT_EQ(layout.maxScroll, 0);
}

TEST(LayoutTest, StoredWidthPhotoAndScrollingAt144Dpi) {
  LayoutInput input;
  input.clientWidth = 1200;
  input.clientHeight = 900;
  input.dpi = 144;
  input.listWidth = 200;  // 96-DPI pixels: 300 device pixels
  input.hasPhoto = true;
  input.photoWidth = 1000;
  input.photoHeight = 500;
  input.detailsScroll = 5000;
  const ViewerLayout layout = ComputeLayout(input, [](int) { return 2000; });
  EXPECT_EQ(layout.listPaneWidth, 300);
  ExpectRect(layout.filterEdit, {6, 6, 180, 45}, "filter");
  ExpectRect(layout.photoOnlyCheck, {186, 6, 294, 45}, "check");
  ExpectRect(layout.listScrollBar, {283, 51, 300, 873}, "list bar");
  EXPECT_EQ(layout.detailsWidth, 846);
  // 360 x 360 at 96 DPI is 540 x 540 here; the offset is clamped to the content.
  EXPECT_EQ(layout.contentHeight, 36 + 282 + 2000);
  EXPECT_EQ(layout.maxScroll, 1418);
  EXPECT_EQ(layout.detailsScroll, 1418);
  ExpectRect(layout.photoPane, {319, -1400, 859, -1130}, "photo");
  ExpectRect(layout.detailsView, {319, -1118, 1165, 882}, "details");
}

// Text taller than a window can be: the view is one page high, below the
// photo while it shows, and the rest of the offset scrolls inside it.
TEST(LayoutTest, ATextTallerThanAWindowScrollsInsideAPageHighView) {
  LayoutInput input;
  input.clientWidth = 800;
  input.clientHeight = 600;
  input.hasPhoto = true;
  input.photoWidth = 100;
  input.photoHeight = 100;  // the text starts at 12 + 100 + 8
  struct Case {
    int text, scroll;
    long viewTop, viewHeight;
    int textScroll;
  };
  const Case cases[] = {
      {50000, 0, 120, 600, 0},          {50000, 100, 20, 600, 0},
      {50000, 5000, 0, 600, 4880},      {50000, 99999, 0, 600, 49532 - 120},
      {kMaxDetailsViewHeight, 300, -180, kMaxDetailsViewHeight, 0},
  };
  for (const Case& c : cases) {
    input.detailsScroll = c.scroll;
    const ViewerLayout layout = ComputeLayout(input, [&c](int) { return c.text; });
    EXPECT_EQ(layout.detailsTextTop, 120);
    EXPECT_EQ(layout.detailsView.top, c.viewTop) << c.text << " " << c.scroll;
    EXPECT_EQ(layout.detailsView.bottom - layout.detailsView.top, c.viewHeight) << c.scroll;
    EXPECT_EQ(layout.detailsTextScroll, c.textScroll) << c.text << " " << c.scroll;
    EXPECT_EQ(layout.detailsScrollsItself, c.text > kMaxDetailsViewHeight);
  }
}

TEST(LayoutTest, ListColumnLimits) {
  struct Case {
    int clientWidth, listWidth, dpi, expected;
  };
  const Case cases[] = {
      {800, 0, 96, 300},     {800, 100, 96, 160}, {800, 700, 96, 580}, {350, 300, 96, 160},
      {1200, 200, 144, 300}, {1200, 0, 144, 450}, {300, 0, 144, 240},  {2000, 1500, 96, 1500},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ListPaneWidth(c.clientWidth, c.listWidth, c.dpi), c.expected)
        << c.clientWidth << " " << c.listWidth << " " << c.dpi;
  }
}

TEST(LayoutTest, NarrowDetailsColumnDropsItsRightGap) {
  LayoutInput input;
  input.clientWidth = 350;
  input.clientHeight = 300;
  EXPECT_EQ(ComputeLayout(input, nullptr).detailsWidth, 148);
  input.clientWidth = 250;
  EXPECT_EQ(ComputeLayout(input, nullptr).detailsWidth, 60);
}

TEST(LayoutTest, PhotoBoxScalesDownNeverUp) {
  struct Case {
    bool hasPhoto;
    int width, height, detailsWidth, dpi;
    long expectedWidth, expectedHeight;
  };
  const Case cases[] = {
      {true, 500, 1000, 400, 96, 180, 360},  {true, 1000, 500, 200, 96, 200, 100},
      {true, 1000, 500, 800, 144, 540, 270}, {true, 0, 0, 400, 96, 360, 120},
      {false, 1000, 500, 400, 96, 0, 0},     {true, 3000, 2, 400, 96, 360, 1},
  };
  for (const Case& c : cases) {
    const SIZE box = PhotoBox(c.hasPhoto, c.width, c.height, c.detailsWidth, c.dpi);
    EXPECT_EQ(box.cx, c.expectedWidth) << c.width << "x" << c.height;
    EXPECT_EQ(box.cy, c.expectedHeight) << c.width << "x" << c.height;
  }
}

TEST(LayoutTest, SplitterDragStoresDpiIndependentWidths) {
  struct Case {
    int x, clientWidth, dpi, stored;
  };
  const Case
      cases[] =
          {
              {300, 1200, 144, 200}, {10, 1200, 144, 160}, {2000, 1200, 144, 580},
              {100, 600, 96, 160},   {500, 600, 96, 380},  {250, 600, 96, 250},
              {200, 300, 96, 160},  // a window too narrow for both limits keeps the list's
          };
  for (const Case& c : cases)
    EXPECT_EQ(ListWidthForDrag(c.x, c.clientWidth, c.dpi), c.stored) << c.x;
  EXPECT_TRUE(IsOnSplitter(296, 300, 96));
  EXPECT_TRUE(IsOnSplitter(304, 300, 96));
  EXPECT_FALSE(IsOnSplitter(305, 300, 96));
  EXPECT_TRUE(IsOnSplitter(294, 300, 144));
  EXPECT_FALSE(IsOnSplitter(293, 300, 144));
}

}  // namespace
}  // namespace kontaktel
