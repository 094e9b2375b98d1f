// Which characters of the details are captions, where the photo is drawn, and
// the guard around window procedures.
#include "view/details_pane.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "view/photo_pane.h"
#include "win/guarded_call.h"

namespace kontaktel {
namespace {

TEST(DetailsCaptionTest, CaptionsByTheTextsOwnLines) {
  struct Case {
    const wchar_t* text;
    std::vector<CaptionSpan> spans;
  };
  const Case cases[] = {
      {L"Phone (Mobile)\t+1 555\r\nEmail\ta@b.c", {{0, 14}, {23, 5}}},
      // A note's own words are never a caption, up to the next field line.
      {L"\x2500\x2500 Note \x2500\x2500\r\nMeet at 10:30\r\nSee: http://x.y\r\n\r\nPhone\t1",
       {{46, 5}}},
      {L"\x2500\x2500 Note \x2500\x2500\r\na\tb\r\n\r\nc: d\r\n\r\nTel\t1", {{27, 3}}},
      {L"-- Note --\rplain text\r\x2500 x\tz", {}},
      {L"Website: http://x.y", {{0, 9}}},
      {L"Key:value", {{0, 4}}},
      {L"\tvalue only\nNo caption here", {}},
      // A long value wraps on screen; only its line's own tab counts.
      {L"Title\tHead of the department of long titles, Room: 5", {{0, 5}}},
      {L"", {}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(DetailsCaptionSpans(c.text), c.spans) << static_cast<const void*>(c.text);
}

TEST(PhotoPaneTest, PhotoDrawnTwoPixelsInScaledDown) {
  struct Case {
    SIZE photo, client;
    RECT expected;
  };
  const Case cases[] = {
      {{2000, 1000}, {400, 200}, {2, 2, 402, 202}},
      {{100, 50}, {400, 200}, {2, 2, 102, 52}},
      {{3000, 3000}, {1500, 1400}, {2, 2, 1002, 1002}},  // panes beyond 1000 pixels count as 1000
      {{0, 10}, {400, 200}, {2, 2, 2, 2}},
  };
  for (const Case& c : cases) {
    const RECT rect = PhotoDrawRect(c.photo, c.client);
    EXPECT_EQ(rect.left, c.expected.left);
    EXPECT_EQ(rect.top, c.expected.top);
    EXPECT_EQ(rect.right, c.expected.right) << c.photo.cx;
    EXPECT_EQ(rect.bottom, c.expected.bottom) << c.photo.cx;
  }
}

LRESULT CALLBACK ThrowingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return GuardedCall(
      [&]() -> LRESULT {
        if (message == WM_APP) throw std::runtime_error("handler failed");
        if (message == WM_APP + 1) throw 42;
        return DefWindowProcW(window, message, wParam, lParam);
      },
      7);
}

TEST(WindowGuardTest, NoExceptionLeavesAWindowProcedure) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = ThrowingProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"KontaktelGuardTest";
  ASSERT_NE(RegisterClassW(&windowClass), 0);
  const HWND window = CreateWindowExW(0, L"KontaktelGuardTest", L"", WS_POPUP, 0, 0, 10, 10,
                                      nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(SendMessageW(window, WM_APP, 0, 0), 7);
  EXPECT_EQ(SendMessageW(window, WM_APP + 1, 0, 0), 7);
  EXPECT_TRUE(IsWindow(window));
  DestroyWindow(window);
  UnregisterClassW(L"KontaktelGuardTest", GetModuleHandleW(nullptr));
}

}  // namespace
}  // namespace kontaktel
