// The camera mark as the list rows, the status line and the check box draw it:
// a filled camera with a lens hole, whatever fonts exist (Wine's own text
// drawing shows it as two hollow boxes).
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "win/fallback_text.h"

namespace kontaktel {
namespace {

// `text` drawn black on white in a font `size` pixels high: the rows of the
// inked box, '#' for black.
std::vector<std::string> Ink(const wchar_t* text, int size) {
  constexpr int kWidth = 120, kHeight = 60;
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), kWidth, -kHeight, 1, 32, BI_RGB};
  void* bits = nullptr;
  const HDC dc = CreateCompatibleDC(nullptr);
  const HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  const HFONT font = CreateFontW(-size, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0,
                                 CLEARTYPE_NATURAL_QUALITY, 0, L"Segoe UI");
  const HGDIOBJ oldBitmap = SelectObject(dc, bitmap), oldFont = SelectObject(dc, font);
  RECT rect{0, 0, kWidth, kHeight};
  FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkMode(dc, TRANSPARENT);
  DrawFallbackText(dc, text, rect, DT_SINGLELINE);
  GdiFlush();
  std::vector<std::string> rows;
  for (int y = 0; y < kHeight; ++y) {
    std::string row;
    for (int x = 0; x < kWidth; ++x)
      row += (static_cast<const DWORD*>(bits)[y * kWidth + x] & 0xFFFFFF) == 0 ? '#' : '.';
    if (row.find('#') != std::string::npos) rows.push_back(row);
  }
  SelectObject(dc, oldFont);
  SelectObject(dc, oldBitmap);
  DeleteObject(font);
  DeleteObject(bitmap);
  DeleteDC(dc);
  size_t left = std::string::npos, right = 0;
  for (const std::string& row : rows) {
    left = std::min(left, row.find('#'));
    right = std::max(right, row.rfind('#') + 1);
  }
  for (std::string& row : rows) row = row.substr(left, right - left);
  return rows;
}

TEST(CameraMarkTest, IsAFilledCameraWithALensAtEveryTextSize) {
  for (const int size : {12, 14, 21, 28}) {  // the list's fonts at 96 and 144 DPI
    const std::vector<std::string> rows = Ink(L"\U0001F4F7", size);
    ASSERT_GE(rows.size(), static_cast<size_t>(size / 2)) << size;
    const size_t width = rows[0].size(), height = rows.size();
    EXPECT_GT(width, height) << size;  // landscape, not a missing glyph's box
    size_t inked = 0;
    for (const std::string& row : rows) inked += std::count(row.begin(), row.end(), '#');
    EXPECT_GE(inked * 2, width * height) << size;
    // Through the lens: ink, one hole, ink (two boxes would show three holes).
    const std::string& lens = rows[height - 1 - (height - 1) * 3 / 8];
    const size_t hole = lens.find('.');
    ASSERT_NE(hole, std::string::npos) << size;
    EXPECT_EQ(lens.find('.', lens.find('#', hole)), std::string::npos) << size << " " << lens;
    EXPECT_TRUE(lens.front() == '#' && lens.back() == '#') << size << " " << lens;
  }
}

}  // namespace
}  // namespace kontaktel
