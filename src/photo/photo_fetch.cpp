#include "photo/photo_fetch.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <utility>

#include "photo/download_queue.h"
#include "photo/test_counter.h"

namespace kontaktel {

namespace {

TestCounter liveRecords;

// The live viewer windows of this module. Each registration has its own
// number, so that a window handle reused by a later viewer does not receive
// an earlier viewer's answers.
struct Registration {
  HWND window;
  uint64_t number;
};
std::mutex registryLock;
std::vector<Registration> registrations;
uint64_t lastRegistration = 0;

// Under the lock: the registration of the window, 0 for none.
uint64_t FindRegistration(HWND window) {
  for (const Registration& entry : registrations) {
    if (entry.window == window) return entry.number;
  }
  return 0;
}

}  // namespace

#ifdef KONTAKTEL_TEST_HOOKS
int LivePhotoRecords() {
  return liveRecords.Value();
}
#endif

PhotoFetchRequest::PhotoFetchRequest() {
  ++liveRecords;
}
PhotoFetchRequest::~PhotoFetchRequest() {
  --liveRecords;
}
PhotoFetchResult::PhotoFetchResult() {
  ++liveRecords;
}
PhotoFetchResult::~PhotoFetchResult() {
  --liveRecords;
}

void RegisterPhotoTarget(HWND window) {
  try {
    const std::lock_guard lock(registryLock);
    if (window == nullptr || FindRegistration(window) != 0) return;
    registrations.push_back({window, ++lastRegistration});
  } catch (...) {
    // Out of memory: the window starts no fetches and shows no fetched photos.
  }
}

void UnregisterPhotoTarget(HWND window) {
  {
    const std::lock_guard lock(registryLock);
    std::erase_if(registrations,
                  [window](const Registration& entry) { return entry.window == window; });
  }
  WithdrawPhotoDownloads(window);
}

uint64_t PhotoTargetRegistration(HWND window) {
  const std::lock_guard lock(registryLock);
  return FindRegistration(window);
}

// Under the registry's lock: the window's WM_DESTROY unregisters under the
// same lock before it purges its queue, so a result is either purged there
// or never posted.
void PostPhotoResult(HWND window, uint64_t registration, std::unique_ptr<PhotoFetchResult> result) {
  const std::lock_guard lock(registryLock);
  if (FindRegistration(window) != registration) return;
  if (PostMessageW(window, WM_PHOTO_LOADED, 0, reinterpret_cast<LPARAM>(result.get()))) {
    result.release();
  }
}

bool IsPhotoTargetRegistered(HWND window, uint64_t registration) {
  const std::lock_guard lock(registryLock);
  return registration != 0 && FindRegistration(window) == registration;
}

void PurgePhotoResults(HWND window) {
  MSG message{};
  while (PeekMessageW(&message, window, WM_PHOTO_LOADED, WM_PHOTO_LOADED, PM_REMOVE)) {
    TakePhotoResult(message.lParam);
  }
}

std::unique_ptr<PhotoFetchResult> TakePhotoResult(LPARAM lParam) {
  return std::unique_ptr<PhotoFetchResult>(reinterpret_cast<PhotoFetchResult*>(lParam));
}

std::unique_ptr<PhotoFetchRequest> MakePhotoFetchRequest(HWND target, uint64_t cardIndex,
                                                         uint32_t generation, std::wstring url) {
  auto request = std::make_unique<PhotoFetchRequest>();
  request->targetWindow = target;
  request->cardIndex = cardIndex;
  request->generation = generation;
  request->url = std::move(url);
  return request;
}

}  // namespace kontaktel
