#include "photo/download_queue.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <vector>

#include "photo/test_counter.h"
#include "win/kernel_handles.h"

namespace kontaktel {

namespace {

// One viewer window's downloads (a window handle reused by a later viewer is
// another registration).
struct ViewerDownloads {
  HWND window = nullptr;
  uint64_t registration = 0;
  std::unique_ptr<PhotoFetchRequest> waiting;
  uint64_t waitingSince = 0;
  PhotoFetchRequest* running = nullptr;  // owned by its worker
  bool runningWanted = false;
  bool runningStopped = false;  // the worker has been told to give up
};

std::mutex queueLock;
std::vector<ViewerDownloads> viewers;
int workers = 0;
uint64_t lastTicket = 0;
TestCounter runningWorkers;

// Under the lock.
ViewerDownloads* FindRunning(const PhotoFetchRequest* request) {
  for (ViewerDownloads& entry : viewers) {
    if (entry.running == request) return &entry;
  }
  return nullptr;
}

// Under the lock: the request that has waited longest in a slot whose viewer
// has no download running, now marked running; null for none.
PhotoFetchRequest* TakeNextLocked() {
  ViewerDownloads* next = nullptr;
  for (ViewerDownloads& entry : viewers) {
    if (entry.waiting && entry.running == nullptr &&
        (next == nullptr || entry.waitingSince < next->waitingSince)) {
      next = &entry;
    }
  }
  if (next == nullptr) return nullptr;
  next->running = next->waiting.release();
  next->runningWanted = true;
  next->runningStopped = false;
  return next->running;
}

void ForgetIdleLocked() {
  std::erase_if(viewers, [](const ViewerDownloads& entry) {
    return !entry.waiting && entry.running == nullptr;
  });
}

// Under the lock: a worker for every request that may start now, up to the
// module's limit. False when a worker was needed and none started.
bool StartWorkersLocked() {
  while (workers < kMaxPhotoWorkers) {
    PhotoFetchRequest* request = TakeNextLocked();
    if (request == nullptr) return true;
    // Taken here, before the thread exists: a reference the thread took itself
    // would come too late if the host unloaded the module before its first
    // instruction.
    HMODULE module = nullptr;
    UniqueModule reference;
    if (GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                           reinterpret_cast<LPCWSTR>(&PhotoFetchThread), &module)) {
      reference.Reset(module);
    }
    const UniqueKernelHandle thread(
        reference ? CreateThread(nullptr, 0, PhotoFetchThread, request, 0, nullptr) : nullptr);
    if (!thread) {
      FindRunning(request)->running = nullptr;
      delete request;
      ForgetIdleLocked();
      return false;  // the reference is given back here
    }
    reference.Release();  // the worker's now, given back as it ends
    ++workers;
    ++runningWorkers;
  }
  return true;
}

// Asked by the download between its steps.
bool StillWanted(const PhotoFetchRequest& request) {
  {
    const std::lock_guard lock(queueLock);
    ViewerDownloads* entry = FindRunning(&request);
    if (entry == nullptr || !entry->runningWanted) {
      if (entry != nullptr) entry->runningStopped = true;
      return false;
    }
  }
  return IsPhotoTargetRegistered(request.targetWindow, request.targetRegistration) &&
         IsWindow(request.targetWindow);
}

// Downloads one request; answers the next one this worker runs, or null when
// the worker ends.
PhotoFetchRequest* RunOne(PhotoFetchRequest* request) {
  std::unique_ptr<PhotoFetchRequest> owned(request);
  std::unique_ptr<PhotoFetchResult> result;
  try {
    owned->download.keepGoing = [request] { return StillWanted(*request); };
    std::vector<uint8_t> bytes = DownloadPhoto(owned->url, owned->download);
    result = std::make_unique<PhotoFetchResult>();
    result->url = owned->url;
    result->bytes = std::move(bytes);
  } catch (...) {
    result.reset();  // out of memory: no photo
  }
  PhotoFetchRequest* next = nullptr;
  {
    const std::lock_guard lock(queueLock);
    ViewerDownloads* entry = FindRunning(request);
    // The card and generation are read here: a request for the same address
    // may have taken this download over meanwhile.
    if (entry == nullptr || !entry->runningWanted) result.reset();
    if (result) {
      result->cardIndex = owned->cardIndex;
      result->generation = owned->generation;
    }
    if (entry != nullptr) entry->running = nullptr;
    ForgetIdleLocked();
    next = TakeNextLocked();
    if (next == nullptr) --workers;
  }
  if (result) PostPhotoResult(owned->targetWindow, owned->targetRegistration, std::move(result));
  return next;
}

}  // namespace

#ifdef KONTAKTEL_TEST_HOOKS
int RunningPhotoWorkers() {
  return runningWorkers.Value();
}
#endif

bool QueuePhotoDownload(std::unique_ptr<PhotoFetchRequest> request) {
  if (!request) return false;
  request->targetRegistration = PhotoTargetRegistration(request->targetWindow);
  if (request->targetRegistration == 0) return false;
  try {
    const std::lock_guard lock(queueLock);
    auto entry = std::find_if(viewers.begin(), viewers.end(), [&](const ViewerDownloads& e) {
      return e.registration == request->targetRegistration;
    });
    if (entry == viewers.end()) {
      entry = viewers.insert(viewers.end(), ViewerDownloads{});
      entry->window = request->targetWindow;
      entry->registration = request->targetRegistration;
    }
    PhotoFetchRequest* running = entry->running;
    if (running != nullptr && !entry->runningStopped && running->url == request->url) {
      // The photo already on its way: it answers this request instead.
      running->cardIndex = request->cardIndex;
      running->generation = request->generation;
      entry->runningWanted = true;
      entry->waiting.reset();
      return true;
    }
    entry->runningWanted = false;
    entry->waiting = std::move(request);
    entry->waitingSince = ++lastTicket;
    return StartWorkersLocked();
  } catch (...) {
    return false;  // out of memory
  }
}

void WithdrawPhotoDownloads(HWND window) {
  const std::lock_guard lock(queueLock);
  for (ViewerDownloads& entry : viewers) {
    if (entry.window != window) continue;
    entry.waiting.reset();
    entry.runningWanted = false;
  }
  ForgetIdleLocked();
}

bool StartPhotoFetch(std::unique_ptr<PhotoFetchRequest> request) {
  return QueuePhotoDownload(std::move(request));
}

DWORD WINAPI PhotoFetchThread(void* argument) {
  HMODULE module = nullptr;
  GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(&PhotoFetchThread), &module);
  for (auto* request = static_cast<PhotoFetchRequest*>(argument); request != nullptr;)
    request = RunOne(request);
  --runningWorkers;
  // No code of this module runs after the reference is given back.
  if (module != nullptr) FreeLibraryAndExitThread(module, 0);
  return 0;
}

}  // namespace kontaktel
