// The contact list's navigation over row counts: keys, the page kept on the
// selection, scroll bar codes, the wheel and the row under the pointer, all in
// signed arithmetic.
#include "view/list_navigation.h"

#include <gtest/gtest.h>

#include <optional>

namespace kontaktel {
namespace {

TEST(ListNavigation, KeysOverAHundredRowsOfSevenPerPage) {
  struct Case {
    UINT key;
    int from;
    std::optional<int> to;
  };
  const Case cases[] = {
      {VK_NEXT, 95, 99},
      {VK_PRIOR, 3, 0},
      {VK_UP, 5, 4},
      {VK_DOWN, 99, std::nullopt},
      {VK_RETURN, 5, std::nullopt},
      {'A', 5, std::nullopt},
      {VK_DOWN, -1, 1},  // a selection the filter hides counts as the first row
  };
  for (const Case& c : cases) {
    EXPECT_EQ(NavigateList(c.key, c.from, 100, 7), c.to) << c.key << " from " << c.from;
  }
  EXPECT_EQ(NavigateList(VK_DOWN, 0, 0, 7), std::nullopt);
}

TEST(ListNavigation, TheSelectionStaysOnThePage) {
  EXPECT_EQ(EnsureSelectionVisible(93, 0, 100, 7), 0);
  EXPECT_EQ(EnsureSelectionVisible(40, 45, 100, 7), 40);
  EXPECT_EQ(EnsureSelectionVisible(40, -1, 100, 7), 0);
  // Fewer rows than a page: the page starts at the first row, never below it.
  EXPECT_EQ(EnsureSelectionVisible(5, 2, 3, 7), 0);
  EXPECT_EQ(MaxTopRow(3, 7), 0);
  EXPECT_EQ(ClampTopRow(-4, 100, 7), 0);
}

TEST(ListNavigation, ScrollCodesWheelAndRowsUnderThePointer) {
  EXPECT_EQ(ScrollListTop(SB_PAGEDOWN, 10, 0, 100, 7), 16);
  EXPECT_EQ(ScrollListTop(SB_PAGEUP, 10, 0, 100, 7), 4);
  EXPECT_EQ(ScrollListTop(SB_THUMBTRACK, 0, 60, 100, 7), 60);
  EXPECT_EQ(ScrollListTop(SB_THUMBPOSITION, 0, 500, 100, 7), 93);
  EXPECT_EQ(ScrollListTop(SB_ENDSCROLL, 12, 0, 100, 7), 12);
  EXPECT_EQ(RowsPerPage(10, 8, 60), 1);
  EXPECT_EQ(PageRowAt(3, 8, 60, 7, 0, 100), 0);  // the pad above the first row
  EXPECT_EQ(PageRowAt(68, 8, 60, 7, 0, 100), 1);
  EXPECT_EQ(PageRowAt(-1, 8, 60, 7, 0, 100), std::nullopt);
}

}  // namespace
}  // namespace kontaktel
