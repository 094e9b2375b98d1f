// A file read behind the window: batches that grow the list, the status line
// and the filter while the worker reads; the host's search, the next file,
// closing and unloading during a load; the size limit; a file the user
// deletes while it is shown. A gate (an event each reading step waits for)
// lets a test see the window between steps.
#include <windows.h>
#include <psapi.h>
#include <winioctl.h>

#include <chrono>
#include <regex>
#include <string>

#include "support/thread_count.h"
#include "support/viewer_driver.h"

namespace kontaktel::test {
namespace {

constexpr int kCards = 30;

// Cards "Card 00" to "Card 29", odd or even, each with a note of 100 KB: the
// file is read in several steps.
std::string ManyCards() {
  std::string text;
  for (int i = 0; i < kCards; ++i) {
    const std::string number = (i < 10 ? "0" : "") + std::to_string(i);
    text += "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Card " + number + "\r\nNOTE:" +
            (i % 2 ? "odd " : "even ") + std::string(100000, 'x') + "\r\nEND:VCARD\r\n";
  }
  return text;
}

// Pumps until `done` holds or five seconds pass.
template <typename Condition>
bool PumpUntil(Condition done) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    PluginTest::Pump();
    Sleep(5);
  }
  return true;
}

// Threads of this process that started in the module's image.
int ThreadsIn(const MODULEINFO& image) {
  const auto* base = static_cast<const char*>(image.lpBaseOfDll);
  return ThreadsStartingIn(base, base + image.SizeOfImage);
}

class CardLoadingTest : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    gate_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);  // one step per SetEvent
    setLoadSeams_(4, gate_, 0);
  }
  void TearDown() override {
    PluginTest::TearDown();
    CloseHandle(gate_);
  }
  std::wstring Status(HWND viewer) const { return ListView(viewer).status; }

  HANDLE gate_ = nullptr;
  TempFile many_{ManyCards()};
};

// Step by step in a quick-view panel: the list, the status line and the
// filter typed after the first batch grow; the first card shows as soon as it
// arrives, and the focus stays in the host's file list.
TEST_F(CardLoadingTest, BatchesGrowTheListStatusAndFilter) {
  const HWND viewer = startLoadW_(QuickViewPanel(), many_.Path().c_str(), 0);
  ASSERT_NE(viewer, nullptr);
  MoveWindow(viewer, 0, 0, 600, 400, TRUE);
  const std::wregex loading(LR"(Loading… (\d+) cards \((\d+)%\))");
  std::wsmatch match;
  const std::wstring first = Status(viewer);
  ASSERT_TRUE(std::regex_match(first, match, loading)) << Narrow(first);
  EXPECT_EQ(std::stoi(match[1]), 0);
  EXPECT_LT(std::stoi(match[2]), 100);
  int percent = std::stoi(match[2]), cards = 0;
  for (int step = 1; Diagnostics(viewer).loading == 1; ++step) {
    SetEvent(gate_);
    ASSERT_TRUE(PumpUntil([&] { return Diagnostics(viewer).loadSteps == step; }));
    const KontaktelDiagnostics now = Diagnostics(viewer);
    EXPECT_GE(now.cardCount, cards);
    cards = now.cardCount;
    const std::wstring status = Status(viewer);
    if (now.loading == 1) {
      ASSERT_TRUE(std::regex_match(status, match, loading)) << Narrow(status);
      EXPECT_EQ(std::stoi(match[1]), cards);
      EXPECT_GE(std::stoi(match[2]), percent);
      percent = std::stoi(match[2]);
    }
    if (step == 1) {
      ASSERT_GT(cards, 0);
      EXPECT_EQ(now.selected, 0);
      EXPECT_NE(FindInDetails(GetDlgItem(viewer, kDetailsId), L"Card 00"), -1);
      SetWindowTextW(GetDlgItem(viewer, kFilterEditId), L"odd");  // typed while it loads
    }
    EXPECT_EQ(Diagnostics(viewer).visibleCount, cards / 2);
    EXPECT_EQ(GetFocus(), fileList_);
  }
  EXPECT_GT(Diagnostics(viewer).loadSteps, 1);  // 3 MB in pieces of at most 1 MiB
  EXPECT_EQ(Diagnostics(viewer).cardCount, kCards);
  EXPECT_EQ(Diagnostics(viewer).selected, 1);
  EXPECT_EQ(Status(viewer), L"Contacts: 15/30  (2/30)");
}

// A small file is whole when ListLoadW returns, as hosts and scripts that
// send keys right after it expect: no worker, no gate, no message to wait for.
TEST_F(CardLoadingTest, ASmallFileIsReadBeforeListLoadReturns) {
  const TempFile small("BEGIN:VCARD\r\nFN:Ann\r\nEND:VCARD\r\nBEGIN:VCARD\r\nFN:Bob\r\nEND:VCARD\r\n");
  const HWND viewer = startLoadW_(parent_, small.Path().c_str(), 0);
  ASSERT_NE(viewer, nullptr);
  const KontaktelDiagnostics now = Diagnostics(viewer);
  EXPECT_EQ(now.loading, 0);
  EXPECT_EQ(now.cardCount, 2);
  EXPECT_EQ(now.selected, 0);
}

// Cards arriving while a menu is open on an earlier card leave its command
// standing: appending moves none of the cards before.
TEST_F(CardLoadingTest, AMenuOpenWhileCardsArriveStillCopies) {
  const HWND viewer = startLoadW_(parent_, many_.Path().c_str(), 0);
  ASSERT_NE(viewer, nullptr);
  MoveWindow(viewer, 0, 0, 800, 500, TRUE);
  SetEvent(gate_);
  ASSERT_TRUE(PumpUntil([&] { return Diagnostics(viewer).loadSteps == 1; }));
  PutClipboardMarker();
  RunMenu([&] { PostMessageW(viewer, kListMenuMessage, 0, MAKELPARAM(200, 200)); }, 1, [&] {
    SetEvent(gate_);  // the next batch is taken in by the menu's loop
    MSG message;
    for (int i = 0; i < 100 && !PeekMessageW(&message, viewer, WM_APP + 46, WM_APP + 46, PM_NOREMOVE);
         ++i) {
      Sleep(10);
    }
  });
  EXPECT_EQ(ClipboardText(), L"Card 00");
}

// The host's search answers for the whole file, also when the worker has not
// read it yet.
TEST_F(CardLoadingTest, SearchWaitsForTheWholeFile) {
  const HANDLE open = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  setLoadSeams_(4, open, 0);
  const HWND viewer = startLoadW_(parent_, many_.Path().c_str(), 0);
  ASSERT_NE(viewer, nullptr);
  EXPECT_EQ(Diagnostics(viewer).cardCount, 0);
  SetEvent(open);
  EXPECT_EQ(listSearchTextW_(viewer, L"Card 29", 1), 0);
  EXPECT_EQ(Diagnostics(viewer).selected, 29);
  EXPECT_EQ(Diagnostics(viewer).loading, 0);
  CloseHandle(open);
}

// The next file abandons the load (its late batches show nowhere); closing
// and unloading during a load end the worker and unload the module.
TEST_F(CardLoadingTest, NextCloseAndUnloadDuringALoad) {
  MODULEINFO image{};
  ASSERT_TRUE(GetModuleInformation(GetCurrentProcess(), module_, &image, sizeof image));
  const HWND viewer = startLoadW_(parent_, many_.Path().c_str(), 0);
  ASSERT_NE(viewer, nullptr);
  EXPECT_TRUE(PumpUntil([&] { return ThreadsIn(image) == 1; }));
  TempFile two(
      "BEGIN:VCARD\r\nFN:Anna\r\nEND:VCARD\r\nBEGIN:VCARD\r\nFN:Boris\r\nEND:VCARD\r\n");
  ASSERT_EQ(startLoadNextW_(parent_, viewer, two.Path().c_str(), 0), 0);
  SetEvent(gate_);
  ASSERT_TRUE(PumpUntil([&] { return Diagnostics(viewer).loading == 0; }));
  EXPECT_TRUE(PumpUntil([&] { return ThreadsIn(image) == 0; }));
  EXPECT_EQ(Diagnostics(viewer).cardCount, 2);
  EXPECT_EQ(Status(viewer), L"Contacts: 2  (1/2)");

  const HWND second = startLoadW_(parent_, many_.Path().c_str(), 0);
  ASSERT_NE(second, nullptr);
  listCloseWindow_(second);
  listCloseWindow_(viewer);
  EXPECT_EQ(Diagnostics().liveViewers, 0);
  FreeLibrary(module_);
  module_ = nullptr;
  EXPECT_TRUE(PumpUntil([&] { return ThreadsIn(image) == 0; }));
  EXPECT_TRUE(PumpUntil([] { return GetModuleHandleW(L"kontaktel-test.wlx64") == nullptr &&
                                    GetModuleHandleW(L"kontaktel-test.wlx") == nullptr; }));
}

// The size limit at its exact boundaries (lowered by the seam), and a sparse
// file one byte above the real limit declined as it is.
TEST_F(CardLoadingTest, SizeLimitAtItsBoundaries) {
  const std::string card = "BEGIN:VCARD\r\nFN:Anna\r\nEND:VCARD\r\n";
  TempFile file(card);
  setLoadSeams_(0, nullptr, card.size());
  EXPECT_NE(listLoadW_(parent_, file.Path().c_str(), 0), nullptr);
  setLoadSeams_(0, nullptr, card.size() - 1);
  EXPECT_EQ(listLoadW_(parent_, file.Path().c_str(), 0), nullptr);
  setLoadSeams_(0, nullptr, 0);
  TempFile huge("");
  const HANDLE handle = CreateFileW(huge.Path().c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(handle, INVALID_HANDLE_VALUE);
  DWORD ignored = 0;
  DeviceIoControl(handle, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &ignored, nullptr);
  LARGE_INTEGER size{};
  size.QuadPart = (sizeof(void*) == 8 ? 1LL << 30 : 256LL << 20) + 1;
  EXPECT_TRUE(SetFilePointerEx(handle, size, nullptr, FILE_BEGIN) && SetEndOfFile(handle));
  CloseHandle(handle);
  EXPECT_EQ(listLoadW_(parent_, huge.Path().c_str(), 0), nullptr);
  EXPECT_EQ(Diagnostics().liveViewers, 1);
}

// The user renames or deletes the file from the other panel, during the load
// and while it is shown, and an export tool writes a new version of it.
TEST_F(CardLoadingTest, TheFileIsNotHeld) {
  const HANDLE open = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  setLoadSeams_(4, open, 0);
  const HWND viewer = startLoadW_(parent_, many_.Path().c_str(), 0);
  ASSERT_NE(viewer, nullptr);
  const std::wstring moved = many_.Path() + L".moved";
  EXPECT_TRUE(MoveFileW(many_.Path().c_str(), moved.c_str()));
  EXPECT_TRUE(DeleteFileW(moved.c_str()));
  SetEvent(open);
  finishLoading_(viewer);
  CloseHandle(open);
  EXPECT_EQ(Diagnostics(viewer).cardCount, kCards);

  TempFile shown(ManyCards());
  ASSERT_EQ(listLoadNextW_(parent_, viewer, shown.Path().c_str(), 0), 0);
  const HANDLE rewrite = CreateFileW(shown.Path().c_str(), GENERIC_WRITE, 0, nullptr,
                                     CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  EXPECT_NE(rewrite, INVALID_HANDLE_VALUE);
  CloseHandle(rewrite);
  EXPECT_TRUE(DeleteFileW(shown.Path().c_str()));
  EXPECT_EQ(Diagnostics(viewer).cardCount, kCards);
}

}  // namespace
}  // namespace kontaktel::test
