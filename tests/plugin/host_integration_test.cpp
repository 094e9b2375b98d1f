// The real DLL moved between monitors of different scales. Its other ways into
// the file manager (both INI files, the quick-view panel, smooth wheels) are
// the scenarios host-main-ini, quick-view and wheel-lines.
#include <gtest/gtest.h>
#include <richedit.h>
#include <windows.h>

#include <vector>

#include "support/viewer_driver.h"

namespace kontaktel::test {
namespace {

// A Lister window moved to a monitor of another scale: the viewer looks as if
// it had been opened there, whether the layout or the message notices first.
TEST_F(PluginTest, EverythingFollowsTheWindowsOwnDpi) {
  const HWND viewer = Open(ReadFixture("photo-card.vcf"));
  ASSERT_NE(viewer, nullptr);
  const HWND details = GetDlgItem(viewer, kDetailsId);
  // In pixels the fonts, the row, the photo box and the scroll bars; then in
  // twips the details' tab stop and character height.
  const auto measure = [&] {
    const KontaktelDiagnostics d = Diagnostics(viewer);
    const RECT photo = ChildRect(GetDlgItem(viewer, kPhotoPaneId));
    std::vector<int> m{-d.mainFontHeight, -d.smallFontHeight, d.rowHeight, photo.right - photo.left,
                       photo.bottom - photo.top};
    for (const HWND bar : ScrollBars(viewer))
      m.push_back(ChildRect(bar).right - ChildRect(bar).left);
    CHARRANGE start{0, 0};
    SendMessageW(details, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&start));
    PARAFORMAT paragraph{};
    paragraph.cbSize = sizeof paragraph;
    SendMessageW(details, EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&paragraph));
    CHARFORMAT2W format{};
    format.cbSize = sizeof format;
    SendMessageW(details, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    m.insert(m.end(), {static_cast<int>(paragraph.rgxTabs[0]), static_cast<int>(format.yHeight)});
    return m;
  };
  const auto scale = [](int length, int dpi) { return MulDiv(length, dpi, 96); };
  const auto seat = [&](int dpi) {  // the host's window scales with its monitor
    setSeams_(dpi, FALSE, 0);
    MoveWindow(viewer, 0, 0, scale(1000, dpi), scale(600, dpi), TRUE);
    Pump();
  };
  seat(96);
  const std::vector<int> at96 = measure();
  ASSERT_GE(at96.size(), 9u);  // both scroll bars
  for (const int dpi : {120, 144, 192, 96}) {
    SCOPED_TRACE(dpi);
    if (dpi == 144 || dpi == 96) {  // the message before the host's resize
      setSeams_(dpi, FALSE, 0);
      SendMessageW(viewer, 0x02E3 /* WM_DPICHANGED_AFTERPARENT */, 0, 0);
      EXPECT_EQ(-Diagnostics(viewer).mainFontHeight, scale(at96[0], dpi));
    }
    seat(dpi);
    const std::vector<int> m = measure();
    ASSERT_EQ(m.size(), at96.size());
    const size_t twips = m.size() - 2;
    for (size_t i = 0; i < twips; ++i)  // the photo is fitted into its box: a pixel either way
      EXPECT_NEAR(m[i], scale(at96[i], dpi), i == 3 || i == 4 ? 1 : 0) << i;
    EXPECT_EQ(m[twips], at96[twips]) << "a tab stop is as long at every DPI";
    EXPECT_EQ(m[twips + 1], MulDiv(m[0], 1440, dpi)) << "the character height is the font's";
  }
}

}  // namespace
}  // namespace kontaktel::test
