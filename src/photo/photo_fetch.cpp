#include "photo/photo_fetch.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <utility>

#include "win/guarded_call.h"
#include "win/kernel_handles.h"

namespace kontaktel {

namespace {

// Records and workers alive, for the leak checks: counted in the tests' build
// of these sources only; the product's counters are empty.
class TestCounter {
 public:
#ifdef KONTAKTEL_TEST_HOOKS
  void operator++() {
    ++value_;
  }
  void operator--() {
    --value_;
  }
  int Value() const {
    return value_;
  }

 private:
  std::atomic<int> value_{0};
#else
  void operator++() {}
  void operator--() {}
#endif
};
TestCounter liveRecords;
TestCounter runningWorkers;

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

// Posts the result while its window is still registered: the window's
// WM_DESTROY unregisters under the same lock before it purges its queue, so a
// result is either purged there or never posted.
void PostIfRegistered(HWND window, uint64_t registration,
                      std::unique_ptr<PhotoFetchResult> result) {
  const std::lock_guard lock(registryLock);
  if (FindRegistration(window) != registration) return;
  if (PostMessageW(window, WM_PHOTO_LOADED, 0, reinterpret_cast<LPARAM>(result.get()))) {
    result.release();
  }
}

void RunFetch(PhotoFetchRequest& request) {
  const HWND window = request.targetWindow;
  const uint64_t registration = request.targetRegistration;
  const auto wanted = [window, registration] {
    return IsPhotoTargetRegistered(window, registration) && IsWindow(window);
  };
  if (!wanted()) return;
  request.download.keepGoing = wanted;
  std::vector<uint8_t> bytes = DownloadPhoto(request.url, request.download);
  auto result = std::make_unique<PhotoFetchResult>();
  result->cardIndex = request.cardIndex;
  result->generation = request.generation;
  result->bytes = std::move(bytes);
  PostIfRegistered(window, registration, std::move(result));
}

}  // namespace

#ifdef KONTAKTEL_TEST_HOOKS
int LivePhotoRecords() {
  return liveRecords.Value();
}
int RunningPhotoWorkers() {
  return runningWorkers.Value();
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
  const std::lock_guard lock(registryLock);
  std::erase_if(registrations,
                [window](const Registration& entry) { return entry.window == window; });
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

bool StartPhotoFetch(std::unique_ptr<PhotoFetchRequest> request) {
  if (!request) return false;
  {
    const std::lock_guard lock(registryLock);
    request->targetRegistration = FindRegistration(request->targetWindow);
  }
  if (request->targetRegistration == 0) return false;
  // Taken here, before the thread exists: a reference the thread took itself
  // would come too late if the host unloaded the module before its first
  // instruction.
  HMODULE module = nullptr;
  if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                          reinterpret_cast<LPCWSTR>(&PhotoFetchThread), &module)) {
    return false;
  }
  UniqueModule reference(module);
  request->heldModule = module;
  ++runningWorkers;
  const UniqueKernelHandle thread(
      CreateThread(nullptr, 0, PhotoFetchThread, request.get(), 0, nullptr));
  if (!thread) {
    --runningWorkers;
    return false;  // the request and the reference are given back here
  }
  request.release();  // the worker's now
  reference.Release();
  return true;  // the thread is never waited for
}

DWORD WINAPI PhotoFetchThread(void* argument) {
  std::unique_ptr<PhotoFetchRequest> request(static_cast<PhotoFetchRequest*>(argument));
  const HMODULE module = request ? request->heldModule : nullptr;
  // Out of memory drops the result: the window shows no photo.
  GuardedCall(
      [&] {
        if (request) RunFetch(*request);
        return 0;
      },
      0);
  request.reset();
  --runningWorkers;
  // No code of this module runs after the reference is given back.
  if (module != nullptr) FreeLibraryAndExitThread(module, 0);
  return 0;
}

}  // namespace kontaktel
