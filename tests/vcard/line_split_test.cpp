#include "vcard/line_split.h"

#include <gtest/gtest.h>

#include "support/alloc_counter.h"

namespace kontaktel {
namespace {

using Lines = std::vector<std::wstring_view>;

using Texts = std::vector<std::wstring>;

// Copies, since the joined lines live in the list.
Texts Unfold(std::wstring_view text) {
  const LineList list = UnfoldLines(SplitLines(text));
  return Texts(list.lines.begin(), list.lines.end());
}

TEST(UnfoldLines, FoldedPhotoDataBecomesOneLine) {
  std::wstring text = L"PHOTO;ENCODING=b;TYPE=JPEG:/9j/4AAQ\r\n";
  std::wstring expected = L"PHOTO;ENCODING=b;TYPE=JPEG:/9j/4AAQ";
  for (int i = 0; i < 1000; ++i) {
    text += L" SkZJRgABAQEASABIAAD\r\n";
    expected += L"SkZJRgABAQEASABIAAD";
  }
  text += L"END:VCARD\r\n";
  EXPECT_EQ(Unfold(text), (Texts{expected, L"END:VCARD"}));
}

TEST(UnfoldLines, ListStaysValidWhenMoved) {
  const std::wstring text = L"A:1\n 2\nB:3\n 4";
  LineList first = UnfoldLines(SplitLines(text));
  LineList moved = std::move(first);
  EXPECT_EQ(moved.lines, (Lines{L"A:12", L"B:34"}));
}

TEST(UnfoldLines, WorkIsLinearInTheInput) {
  // 200,000 continuation lines of one property, and as many short properties:
  // quadratic joining would allocate hundreds of gigabytes here.
  std::wstring text = L"NOTE:start\n";
  for (int i = 0; i < 200000; ++i) text += L" 0123456789\n";
  for (int i = 0; i < 200000; ++i) text += L"X:1\n";
  size_t allocated = 0;
  size_t lineCount = 0;
  {
    test::AllocationCounter counter;
    const LineList lines = UnfoldLines(SplitLines(text));
    allocated = counter.Bytes();
    lineCount = lines.lines.size();
    ASSERT_EQ(lines.lines.front().size(), 10u + 200000u * 10u);
  }
  EXPECT_EQ(lineCount, 200001u);
  EXPECT_LT(allocated, 8 * text.size() * sizeof(wchar_t));
}

}  // namespace
}  // namespace kontaktel

namespace kontaktel {
namespace {

TEST(UnfoldText, GivesWhatSplittingAndUnfoldingGive) {
  const std::wstring_view texts[] = {
      L"", L"\r\n", L"\n FN:x", L"A:1\r\n 2\r\n\t3\r\n\r\nB:4\rC:5\n \n", L" lead\n more\nX:1",
      L"NOTE:a\r\n\r\n b", L"no break at all",
  };
  for (const std::wstring_view text : texts) {
    const LineList expected = UnfoldLines(SplitLines(text));
    const LineList actual = UnfoldText(text);
    EXPECT_EQ(actual.lines, expected.lines) << std::wstring(text).size();
  }
}

}  // namespace
}  // namespace kontaktel
