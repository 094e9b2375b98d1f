// The window side of photo fetches, with real threads, windows and messages:
// a small viewer window makes the calls the contact viewer makes in
// ShowSelectedCard, WM_PHOTO_LOADED and WM_DESTROY, against the tests' server.
#include "photo/photo_fetch.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "photo/download_queue.h"
#include "photo/photo_cache.h"
#include "photo/photo_fetch_state.h"
#include "photo/photo_test_seam.h"
#include "photo/test_http_server.h"
#include "support/thread_count.h"

namespace kontaktel {
namespace {

using test::kBluePng;
using test::kRedPng;
using test::TestHttpServer;

struct TestCard {
  std::wstring url;
  bool embedded = false;
};

// What one viewer window keeps about photos.
struct TestViewer {
  std::vector<TestCard> cards;
  bool loadPhotoUrl = true;
  int64_t selected = -1;
  PhotoFetchState fetch;
  std::vector<uint8_t> photo;  // the accepted bytes; stands in for the decoded photo
  PhotoCache cache;
  bool photoShown = false;
  int fetchesStarted = 0;
  int resultsArrived = 0;
  int photosAccepted = 0;
};

TestViewer* ViewerOf(HWND window) {
  return reinterpret_cast<TestViewer*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

// ShowSelectedCard, as far as photos go.
void ShowCard(HWND window, int64_t index) {
  TestViewer& viewer = *ViewerOf(window);
  viewer.selected = index;
  const TestCard& card = viewer.cards[index];
  const PhotoStep step =
      BeginShowCardPhoto(viewer.fetch, {index, card.embedded, card.url, viewer.loadPhotoUrl});
  if (step == PhotoStep::kKeep) return;
  viewer.photo.clear();
  viewer.photoShown = false;
  const PhotoBytes cached = viewer.cache.Find(card.url);
  if (step != PhotoStep::kStartFetch || cached) {
    WithdrawPhotoDownloads(window);
    if (cached) {
      viewer.photo = *cached;
      viewer.photoShown = true;
      PhotoFetchStarted(viewer.fetch, index, card.url);
    }
    return;
  }
  auto request = MakePhotoFetchRequest(window, index, viewer.fetch.photoGeneration, card.url);
  PhotoTestSeam::AllowTestServer(request->download);
  if (StartPhotoFetch(std::move(request))) {
    PhotoFetchStarted(viewer.fetch, index, card.url);
    ++viewer.fetchesStarted;
  }
}

LRESULT CALLBACK TestViewerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      SetWindowLongPtrW(
          window, GWLP_USERDATA,
          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
      RegisterPhotoTarget(window);
      return 0;
    case WM_PHOTO_LOADED: {
      const std::unique_ptr<PhotoFetchResult> result = TakePhotoResult(lParam);
      TestViewer& viewer = *ViewerOf(window);
      ++viewer.resultsArrived;
      if (result)
        viewer.cache.Put(result->url, std::make_shared<const std::vector<uint8_t>>(result->bytes));
      if (result &&
          AcceptFetchedPhoto(viewer.fetch, viewer.selected, viewer.photoShown, result->generation,
                             result->cardIndex, result->bytes.empty())) {
        viewer.photo = result->bytes;
        viewer.photoShown = true;
        ++viewer.photosAccepted;
      }
      return 0;
    }
    case WM_DESTROY:
      UnregisterPhotoTarget(window);
      InvalidatePhotoFetches(ViewerOf(window)->fetch);
      PurgePhotoResults(window);
      return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

constexpr wchar_t kClassName[] = L"KontaktelPhotoFetchTest";

// Waits, pumping messages when `pump` is set, until the condition holds or the
// time runs out.
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 10'000, bool pump = false) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return false;
    MSG message;
    while (pump && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    Sleep(5);
  }
  return true;
}

bool PumpUntil(const std::function<bool()>& condition, int timeoutMs = 10'000) {
  return WaitUntil(condition, timeoutMs, true);
}

class PhotoFetchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = TestViewerProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kClassName;
    RegisterClassW(&windowClass);
    window_ = CreateWindowExW(0, kClassName, L"", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr,
                              nullptr, GetModuleHandleW(nullptr), &viewer_);
    ASSERT_NE(window_, nullptr);
  }

  void TearDown() override {
    if (IsWindow(window_)) DestroyWindow(window_);
    // Every worker ends and every record is freed, whatever the test did.
    EXPECT_TRUE(WaitUntil([] { return RunningPhotoWorkers() == 0; }, 15'000));
    EXPECT_EQ(LivePhotoRecords(), 0);
  }

  void SetCards(std::vector<TestCard> cards) { viewer_.cards = std::move(cards); }

  TestHttpServer server_;
  TestViewer viewer_;
  HWND window_ = nullptr;
};

TEST_F(PhotoFetchTest, ACardWithAnAddressShowsItsPhoto) {
  SetCards({{server_.Url("/red.png")}});
  ShowCard(window_, 0);
  ASSERT_TRUE(PumpUntil([&] { return viewer_.resultsArrived == 1; }));
  EXPECT_EQ(viewer_.photo, kRedPng);
  EXPECT_EQ(viewer_.photosAccepted, 1);
}

TEST_F(PhotoFetchTest, ACardWithItsOwnPhotoOrLoadPhotoUrlOffFetchesNothing) {
  SetCards({{server_.Url("/red.png"), true}, {server_.Url("/blue.png")}});
  ShowCard(window_, 0);
  viewer_.loadPhotoUrl = false;
  ShowCard(window_, 1);
  PumpUntil([] { return false; }, 300);
  EXPECT_EQ(viewer_.fetchesStarted, 0);
  EXPECT_TRUE(server_.Requests().empty());
}

// The download of a card no longer shown is abandoned: it posts nothing, and
// the next card's waits for it to end.
TEST_F(PhotoFetchTest, AnAbandonedDownloadPostsNothing) {
  SetCards({{server_.Url("/delay/600/red.png")}, {server_.Url("/blue.png")}});
  ShowCard(window_, 0);
  ShowCard(window_, 1);
  ASSERT_TRUE(PumpUntil([&] { return viewer_.resultsArrived == 1; }));
  PumpUntil([] { return RunningPhotoWorkers() == 0; });
  EXPECT_EQ(viewer_.resultsArrived, 1);
  EXPECT_EQ(viewer_.photo, kBluePng);
}

TEST_F(PhotoFetchTest, TheSameCardShownAgainStartsNoSecondDownload) {
  SetCards({{server_.Url("/delay/300/red.png")}});
  ShowCard(window_, 0);
  ShowCard(window_, 0);  // while its download runs
  ASSERT_TRUE(PumpUntil([&] { return viewer_.resultsArrived == 1; }));
  ShowCard(window_, 0);  // after its photo arrived
  PumpUntil([] { return false; }, 300);
  EXPECT_EQ(viewer_.fetchesStarted, 1);
  EXPECT_EQ(server_.CountRequests("/delay/300/red.png"), 1);
  EXPECT_EQ(viewer_.photo, kRedPng);
}

// One download runs for a viewer and one waits: the latest request wins, the
// ones it superseded are never requested.
TEST_F(PhotoFetchTest, SwitchingQuicklyRequestsOnlyTheFirstAndTheLast) {
  SetCards({{server_.Url("/delay/400/red.png")},
            {server_.Url("/delay/300/red.png")},
            {server_.Url("/delay/200/red.png")},
            {server_.Url("/delay/100/red.png")},
            {server_.Url("/blue.png")}});
  for (int64_t card = 0; card < 5; ++card) ShowCard(window_, card);
  ASSERT_TRUE(PumpUntil([&] { return viewer_.resultsArrived == 1; }));
  PumpUntil([] { return RunningPhotoWorkers() == 0; });
  EXPECT_EQ(viewer_.fetchesStarted, 5);
  EXPECT_EQ(viewer_.resultsArrived, 1);
  EXPECT_EQ(viewer_.photo, kBluePng);
  for (const char* superseded : {"/delay/300/red.png", "/delay/200/red.png", "/delay/100/red.png"})
    EXPECT_EQ(server_.CountRequests(superseded), 0) << superseded;
  EXPECT_EQ(server_.CountRequests("/blue.png"), 1);
}

TEST_F(PhotoFetchTest, APhotoSeenBeforeReturnsWithoutARequest) {
  SetCards({{server_.Url("/red.png")}, {server_.Url("/blue.png")}});
  ShowCard(window_, 0);
  ASSERT_TRUE(PumpUntil([&] { return viewer_.resultsArrived == 1; }));
  ShowCard(window_, 1);
  ShowCard(window_, 0);
  EXPECT_EQ(viewer_.photo, kRedPng);  // at once
  PumpUntil([] { return RunningPhotoWorkers() == 0; });
  EXPECT_EQ(server_.CountRequests("/red.png"), 1);
  EXPECT_EQ(viewer_.photo, kRedPng);
}

TEST_F(PhotoFetchTest, ClosingTheWindowDuringAStalledDownloadEndsCleanly) {
  SetCards({{server_.Url("/stall/2000")}});
  ShowCard(window_, 0);
  ASSERT_TRUE(WaitUntil([&] { return server_.CountRequests("/stall/2000") == 1; }));
  EXPECT_EQ(RunningPhotoWorkers(), 1);
  EXPECT_EQ(LivePhotoRecords(), 1);  // the request, owned by the worker
  DestroyWindow(window_);
  // The worker gives up when its wait ends, without reading the rest.
  ASSERT_TRUE(WaitUntil([] { return RunningPhotoWorkers() == 0; }, 8'000));
  EXPECT_EQ(LivePhotoRecords(), 0);
  EXPECT_EQ(viewer_.resultsArrived, 0);
}

TEST_F(PhotoFetchTest, ClosingTheWindowStopsATricklingDownloadAtOnce) {
  SetCards({{server_.Url("/trickle")}});
  ShowCard(window_, 0);
  ASSERT_TRUE(WaitUntil([&] { return server_.CountRequests("/trickle") == 1; }));
  Sleep(300);
  const auto closed = std::chrono::steady_clock::now();
  DestroyWindow(window_);
  ASSERT_TRUE(WaitUntil([] { return RunningPhotoWorkers() == 0; }, 8'000));
  EXPECT_LT(std::chrono::steady_clock::now() - closed, std::chrono::milliseconds(1'000));
  EXPECT_EQ(LivePhotoRecords(), 0);
}

TEST_F(PhotoFetchTest, AResultStillQueuedWhenTheWindowGoesIsFreed) {
  SetCards({{server_.Url("/red.png")}});
  ShowCard(window_, 0);
  // The answer waits in the queue: nothing is pumped until the window goes.
  ASSERT_TRUE(WaitUntil([] { return RunningPhotoWorkers() == 0; }));
  EXPECT_EQ(LivePhotoRecords(), 1);
  MSG message;
  EXPECT_TRUE(PeekMessageW(&message, window_, WM_PHOTO_LOADED, WM_PHOTO_LOADED, PM_NOREMOVE));
  DestroyWindow(window_);
  EXPECT_EQ(LivePhotoRecords(), 0);
  EXPECT_EQ(viewer_.resultsArrived, 0);
}

TEST_F(PhotoFetchTest, AWindowThatIsNotRegisteredStartsNoWorker) {
  const HWND stranger = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 10, 10, nullptr, nullptr,
                                        GetModuleHandleW(nullptr), nullptr);
  EXPECT_FALSE(StartPhotoFetch(MakePhotoFetchRequest(stranger, 0, 1, server_.Url("/red.png"))));
  EXPECT_FALSE(StartPhotoFetch(nullptr));
  EXPECT_EQ(RunningPhotoWorkers(), 0);
  EXPECT_EQ(LivePhotoRecords(), 0);
  DestroyWindow(stranger);
}

// A later window that gets the handle of a closed one is a new registration:
// the earlier window's worker posts nothing to it.
TEST_F(PhotoFetchTest, AWorkerPostsOnlyToTheRegistrationThatAskedIt) {
  SetCards({{server_.Url("/delay/500/red.png")}});
  ShowCard(window_, 0);
  UnregisterPhotoTarget(window_);
  RegisterPhotoTarget(window_);  // as a new viewer with the same handle would
  PumpUntil([] { return RunningPhotoWorkers() == 0; });
  PumpUntil([] { return false; }, 100);
  EXPECT_EQ(viewer_.resultsArrived, 0);
}

// Threads of this process that run photo downloads.
int DownloadThreads() {
  const auto* start = reinterpret_cast<const char*>(&PhotoFetchThread);
  return test::ThreadsStartingIn(start, start + 1);
}

// Against a server that never answers, walking 200 cards in one viewer and
// then in six never runs more than one download for a viewer nor more than
// four in the module; once the viewers close, every worker ends within one
// time-out.
TEST_F(PhotoFetchTest, WalkingCardsOfAServerThatNeverAnswersKeepsDownloadsBounded) {
  std::vector<TestCard> cards;
  for (int i = 0; i < 200; ++i) cards.push_back({server_.Url("/hang/" + std::to_string(i))});
  SetCards(cards);
  // A thread shows its start address once it runs: each count is taken a
  // moment after the step.
  const auto walk = [&](const std::vector<HWND>& windows) {
    int most = 0;
    for (int64_t card = 0; card < 200; ++card) {
      ShowCard(windows[card % windows.size()], card);
      Sleep(1);
      most = std::max(most, DownloadThreads());
    }
    return most;
  };
  EXPECT_EQ(walk({window_}), 1);
  std::array<TestViewer, 5> others;
  std::vector<HWND> windows{window_};
  for (TestViewer& other : others) {
    other.cards = cards;
    windows.push_back(CreateWindowExW(0, kClassName, L"", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200,
                                      nullptr, nullptr, GetModuleHandleW(nullptr), &other));
  }
  EXPECT_LE(walk(windows), kMaxPhotoWorkers);
  EXPECT_TRUE(WaitUntil([] { return DownloadThreads() == kMaxPhotoWorkers; }, 2'000));
  Sleep(300);
  EXPECT_EQ(DownloadThreads(), kMaxPhotoWorkers);
  const auto closed = std::chrono::steady_clock::now();
  for (const HWND window : windows) DestroyWindow(window);
  ASSERT_TRUE(WaitUntil([] { return DownloadThreads() == 0; }, 15'000));
  EXPECT_LT(std::chrono::steady_clock::now() - closed,
            std::chrono::milliseconds(kPhotoOperationTimeoutMs + 1500));
}

}  // namespace
}  // namespace kontaktel
