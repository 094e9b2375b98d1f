// Photo downloads on worker threads, and the hand-over between a worker and
// the viewer window that asked: the request the worker owns, the result the
// window owns once WM_PHOTO_LOADED arrives, and the registry of live viewer
// windows that keeps a worker from posting to a window that is going away.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "photo/photo_download.h"

namespace kontaktel {

// wParam 0, lParam the PhotoFetchResult*, which the window frees on every path.
inline constexpr UINT WM_PHOTO_LOADED = WM_APP + 77;

#ifdef KONTAKTEL_TEST_HOOKS
// Only in the tests' build of these sources, for the leak checks: request and
// result records alive in this module, and workers started and not yet ended.
int LivePhotoRecords();
int RunningPhotoWorkers();
#endif

struct PhotoFetchRequest {
  PhotoFetchRequest();
  ~PhotoFetchRequest();
  PhotoFetchRequest(const PhotoFetchRequest&) = delete;
  PhotoFetchRequest& operator=(const PhotoFetchRequest&) = delete;

  HWND targetWindow = nullptr;
  uint64_t cardIndex = 0;
  uint32_t generation = 0;
  std::wstring url;  // as written in the card
  // The registration of targetWindow the fetch belongs to; a later viewer
  // that happens to get the same handle is another registration.
  uint64_t targetRegistration = 0;
  DownloadOptions download;  // the product's limits
  // The module reference StartPhotoFetch took for the worker, which gives it
  // back with FreeLibraryAndExitThread.
  HMODULE heldModule = nullptr;
};

struct PhotoFetchResult {
  PhotoFetchResult();
  ~PhotoFetchResult();
  PhotoFetchResult(const PhotoFetchResult&) = delete;
  PhotoFetchResult& operator=(const PhotoFetchResult&) = delete;

  uint64_t cardIndex = 0;
  uint32_t generation = 0;
  std::vector<uint8_t> bytes;  // empty when the download was refused or failed
};

// A viewer window registers when it is created and unregisters in WM_DESTROY
// before it purges its queue: a worker posts only while its window is
// registered, under the registry's lock, so nothing is posted after the purge.
void RegisterPhotoTarget(HWND window);
void UnregisterPhotoTarget(HWND window);
bool IsPhotoTargetRegistered(HWND window, uint64_t registration);

// Removes every WM_PHOTO_LOADED still queued for the window and frees its
// result. Call after UnregisterPhotoTarget.
void PurgePhotoResults(HWND window);

// Takes ownership of the result carried by a WM_PHOTO_LOADED lParam.
std::unique_ptr<PhotoFetchResult> TakePhotoResult(LPARAM lParam);

// The request a viewer builds for the selected card.
std::unique_ptr<PhotoFetchRequest> MakePhotoFetchRequest(HWND target, uint64_t cardIndex,
                                                         uint32_t generation, std::wstring url);

// Starts a worker that owns the request. The worker holds a reference on this
// module, taken here before the thread exists and given back by the worker as
// it ends, so the host may unload the plugin while a download runs. False
// (and the request freed) when the target is not registered or no thread
// starts.
bool StartPhotoFetch(std::unique_ptr<PhotoFetchRequest> request);

// The worker's thread procedure; its argument is the PhotoFetchRequest*.
DWORD WINAPI PhotoFetchThread(void* request);

}  // namespace kontaktel
