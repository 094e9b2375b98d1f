// The clipboard as the copy commands leave it, on the real clipboard.
#include "view/clipboard.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <thread>

#include "support/viewer_driver.h"
#include "win/window_handles.h"

namespace kontaktel {
namespace {

using test::ClipboardText;

void PutOnClipboard(const std::wstring& text) {
  ASSERT_TRUE(CopyTextToClipboard(nullptr, text));
}

HGLOBAL WINAPI NoMemory(UINT, SIZE_T) {
  return nullptr;
}

HGLOBAL refusedBlock = nullptr;
HANDLE WINAPI RefuseHandOver(UINT, HANDLE data) {
  refusedBlock = data;
  return nullptr;
}

TEST(ClipboardTest, TextArrivesAsUnicodeText) {
  PutOnClipboard(L"Anna M\x00FCller \x0410\x043D\x043D\x0430\r\n+49 170");
  EXPECT_EQ(ClipboardText(), L"Anna M\x00FCller \x0410\x043D\x043D\x0430\r\n+49 170");
}

TEST(ClipboardTest, AnEmptyTextLeavesAnEmptyUnicodeText) {
  PutOnClipboard(L"before");
  PutOnClipboard(L"");
  EXPECT_EQ(ClipboardText(), L"");
}

TEST(ClipboardTest, MemoryThatCannotBeHadLeavesTheClipboardAsItWas) {
  PutOnClipboard(L"what the user had");
  ClipboardCalls calls;
  calls.allocate = NoMemory;
  EXPECT_FALSE(CopyTextToClipboard(nullptr, L"new text", calls));
  EXPECT_EQ(ClipboardText(), L"what the user had");
}

TEST(ClipboardTest, AClipboardHeldElsewhereLeavesItAsItWas) {
  PutOnClipboard(L"what the user had");
  HANDLE opened = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread holder([&] {
    const HWND window =
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    const ClipboardScope clipboard(window);
    SetEvent(opened);
    WaitForSingleObject(release, 5000);
    DestroyWindow(window);
  });
  WaitForSingleObject(opened, 5000);
  const HWND owner =
      CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  EXPECT_FALSE(CopyTextToClipboard(owner, L"new text"));
  DestroyWindow(owner);
  SetEvent(release);
  holder.join();
  CloseHandle(opened);
  CloseHandle(release);
  EXPECT_EQ(ClipboardText(), L"what the user had");
}

TEST(ClipboardTest, ABlockTheClipboardRefusesIsFreed) {
  ClipboardCalls calls;
  calls.handOver = RefuseHandOver;
  refusedBlock = nullptr;
  EXPECT_FALSE(CopyTextToClipboard(nullptr, L"new text", calls));
  ASSERT_NE(refusedBlock, nullptr);
  EXPECT_EQ(GlobalFlags(refusedBlock), static_cast<UINT>(GMEM_INVALID_HANDLE));
}

}  // namespace
}  // namespace kontaktel
