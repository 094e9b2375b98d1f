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

TEST(SplitLines, AnyRunOfBreaksIsOneBreak) {
  const Lines expected{L"BEGIN:VCARD", L"FN:Ann", L"END:VCARD"};
  EXPECT_EQ(SplitLines(L"BEGIN:VCARD\r\nFN:Ann\r\nEND:VCARD\r\n"), expected);
  EXPECT_EQ(SplitLines(L"BEGIN:VCARD\nFN:Ann\nEND:VCARD"), expected);
  EXPECT_EQ(SplitLines(L"BEGIN:VCARD\rFN:Ann\rEND:VCARD\r"), expected);
  EXPECT_EQ(SplitLines(L"BEGIN:VCARD\r\n\r\n\n\rFN:Ann\n\n\nEND:VCARD\n\n"), expected);
}

TEST(SplitLines, OnlyALeadingBreakGivesAnEmptyLine) {
  EXPECT_EQ(SplitLines(L"\r\n\nFN:Ann"), (Lines{L"", L"FN:Ann"}));
  EXPECT_EQ(SplitLines(L""), Lines{});
  EXPECT_EQ(SplitLines(L"\n"), (Lines{L""}));
  EXPECT_EQ(SplitLines(L"FN:Ann"), (Lines{L"FN:Ann"}));
}

TEST(UnfoldLines, JoinsIndentedLinesWithoutTheirFirstCharacter) {
  EXPECT_EQ(Unfold(L"NOTE:one\r\n two\r\n\tthree\r\nFN:x"), (Texts{L"NOTE:onetwothree", L"FN:x"}));
  // Two blanks keep one at the join; a tab and a blank keep the blank.
  EXPECT_EQ(Unfold(L"NOTE:one\r\n  two\r\n\t three"), (Texts{L"NOTE:one two three"}));
  // A line of a single blank adds nothing but still continues.
  EXPECT_EQ(Unfold(L"NOTE:a\n \n b"), (Texts{L"NOTE:ab"}));
}

TEST(UnfoldLines, LeadingIndentedLineStandsAlone) {
  EXPECT_EQ(Unfold(L" BEGIN:VCARD\n FN:x\nN:y"), (Texts{L" BEGIN:VCARDFN:x", L"N:y"}));
  EXPECT_EQ(Unfold(L"\n FN:x"), (Texts{L" FN:x"}));
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
