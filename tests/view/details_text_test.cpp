// Reading the details view, on a real rich edit control and on the plain edit
// control the viewer falls back to, with texts longer than 65535 characters.
#include "view/details_text.h"

#include <gtest/gtest.h>
#include <richedit.h>

#include <string>

namespace kontaktel {
namespace {

TEST(LineValueTest, TheValueOfADetailsLine) {
  struct Case {
    const wchar_t* line;
    const wchar_t* value;
  };
  const Case cases[] = {
      {L"Phone (Mobile, Preferred)\t+49 170 1234567", L"+49 170 1234567"},
      {L"Title: Chief of staff  \r\n", L"Chief of staff"},
      {L"URL:\thttp://example.com/a:b", L"http://example.com/a:b"},  // the tab comes first
      {L"Time 10:30", L"30"},
      {L"  plain words \r", L"plain words"},
      {L"Caption\t", L""},
      {L"", L""},
  };
  for (const Case& c : cases) EXPECT_EQ(LineValue(c.line), c.value) << c.line;
}

TEST(LineEndsTest, LoneCarriageReturnsBecomeCrLf) {
  EXPECT_EQ(WithCrLfLineEnds(L"a\rb\r\nc\r"), L"a\r\nb\r\nc\r\n");
  EXPECT_EQ(WithCrLfLineEnds(L"\n\r\r"), L"\n\r\n\r\n");
  EXPECT_EQ(WithCrLfLineEnds(L""), L"");
}

TEST(EditPositionTest, SixteenBitAnswersWidenNearTheirLine) {
  EXPECT_EQ(WidenEditChar(0x0005, 0), 5);
  EXPECT_EQ(WidenEditChar(0x0005, 0x10000), 0x10005);
  EXPECT_EQ(WidenEditChar(0x0005, 0x1FFF0), 0x20005);  // the line crosses 0x20000
  EXPECT_EQ(WidenEditLine(0x0003, 0), 3);
  EXPECT_EQ(WidenEditLine(0x0003, 0x1FFFE), 0x20003);
}

// A card text of more than 65535 characters whose last lines are the ones read.
struct LongCard {
  std::wstring text;
  size_t phoneLine = 0;  // index of the phone line's first character (CR LF text)
  int linesBefore = 0;   // line breaks before it
  LongCard() {
    while (text.size() < 70000) {
      text += L"Note " + std::to_wstring(linesBefore++) + L"\tfiller text of a long card\r\n";
    }
    phoneLine = text.size();
    text += L"Phone (Mobile)\t+49 170 1234567\r\nTitle: Chief of staff\r\nplain words";
  }
};

class DetailsViewTest : public ::testing::TestWithParam<const wchar_t*> {
 protected:
  static void SetUpTestSuite() {
    LoadLibraryW(L"Msftedit.dll");
    parent_ = CreateWindowExW(0, L"STATIC", L"details", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 700,
                              500, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  }
  static void TearDownTestSuite() { DestroyWindow(parent_); }

  void SetUp() override {
    view_ = CreateWindowExW(WS_EX_CLIENTEDGE, GetParam(), L"",
                            WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_NOHIDESEL | ES_READONLY, 0, 0,
                            600, 400, parent_, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(view_, nullptr);
    SendMessageW(view_, EM_SETLIMITTEXT, 0, 0);
    SendMessageW(view_, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
  }
  void TearDown() override { DestroyWindow(view_); }

  bool Rich() const { return IsRichEdit(view_); }
  // The rich edit control keeps one CR per line end, the edit control CR LF.
  LONG At(size_t crlfIndex, int lineBreaksBefore) const {
    return static_cast<LONG>(crlfIndex) - (Rich() ? lineBreaksBefore : 0);
  }
  void Select(LONG start, LONG end) { SendMessageW(view_, EM_SETSEL, start, end); }

  static inline HWND parent_ = nullptr;
  HWND view_ = nullptr;
};

TEST_P(DetailsViewTest, LineValueOfTheCaretLineBeyond65535) {
  const LongCard card;
  SetWindowTextW(view_, card.text.c_str());
  const LONG phone = At(card.phoneLine, card.linesBefore);
  ASSERT_GT(phone, 65535);
  Select(phone + 3, phone + 3);
  EXPECT_EQ(DetailsLineValue(view_), L"+49 170 1234567");
  const LONG title = phone + 32 - (Rich() ? 1 : 0);
  Select(title, title + 4);  // a selection counts by its start
  EXPECT_EQ(DetailsLineValue(view_), L"Chief of staff");
  const LONG end = GetWindowTextLengthW(view_);
  Select(end, end);  // the caret at the very end
  EXPECT_EQ(DetailsLineValue(view_), L"plain words");
}

TEST_P(DetailsViewTest, SelectedTextBeyond65535HasCrLfLineEnds) {
  const LongCard card;
  SetWindowTextW(view_, card.text.c_str());
  const LONG phone = At(card.phoneLine, card.linesBefore);
  Select(phone + 15, phone + 15);
  EXPECT_EQ(DetailsSelectedText(view_), L"");
  Select(phone + 53 - (Rich() ? 1 : 0), phone + 15);
  EXPECT_EQ(DetailsSelectedText(view_), L"+49 170 1234567\r\nTitle: Chief of staff");
  EXPECT_EQ(DetailsSelection(view_).cpMin, phone + 15);
}

TEST_P(DetailsViewTest, WholeTextAsTheCardTextHoldsIt) {
  const LongCard card;
  SetWindowTextW(view_, card.text.c_str());
  EXPECT_EQ(DetailsWholeText(view_), card.text);
  SetWindowTextW(view_, L"");
  EXPECT_EQ(DetailsWholeText(view_), L"");
  EXPECT_EQ(DetailsLineValue(view_), L"");
  EXPECT_EQ(DetailsSelectedText(view_), L"");
}

TEST_P(DetailsViewTest, CharacterPositionsBeyond65535GoBothWays) {
  const LongCard card;
  SetWindowTextW(view_, card.text.c_str());
  // Scrolled so that the phone line is on screen, where the controls measure.
  SendMessageW(view_, EM_LINESCROLL, 0, card.linesBefore);
  const LONG digit = At(card.phoneLine, card.linesBefore) + 17;
  const std::optional<POINT> point = DetailsPosFromChar(view_, digit);
  ASSERT_TRUE(point.has_value());
  EXPECT_GE(point->y, 0);
  EXPECT_LT(point->y, 400);
  EXPECT_EQ(DetailsCharFromPos(view_, {point->x + 1, point->y + 2}), digit);
}

INSTANTIATE_TEST_SUITE_P(RichAndPlain, DetailsViewTest, ::testing::Values(L"RICHEDIT50W", L"EDIT"),
                         [](const auto& param) {
                           return std::wstring(param.param) == L"EDIT" ? "Edit" : "RichEdit";
                         });

TEST(DetailsViewMissingTest, NoWindowGivesNothing) {
  const HWND gone = reinterpret_cast<HWND>(0x12345);
  EXPECT_EQ(DetailsWholeText(gone), L"");
  EXPECT_EQ(DetailsSelectedText(gone), L"");
  EXPECT_EQ(DetailsLineValue(gone), L"");
  EXPECT_EQ(DetailsCharFromPos(gone, {1, 1}), -1);
  EXPECT_FALSE(DetailsPosFromChar(gone, 0).has_value());
}

}  // namespace
}  // namespace kontaktel
