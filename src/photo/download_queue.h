// How many photo downloads run, and which: at most one for each viewer
// window and at most four in the module. A newer request of a viewer waits
// in the viewer's one slot (the latest wins; one it supersedes is dropped
// before it starts), and the download running for the viewer is abandoned:
// it ends at its next step, within its own time-outs, and posts nothing. The
// same address asked for again while it downloads keeps that download.
// Workers are never waited for; each holds a reference on the module.
#pragma once

#include <windows.h>

#include <memory>

#include "photo/photo_fetch.h"

namespace kontaktel {

inline constexpr int kMaxPhotoWorkers = 4;

// Runs the request now or lets it wait in its window's slot. False (and the
// request freed) when the window is not registered or no worker can start.
bool QueuePhotoDownload(std::unique_ptr<PhotoFetchRequest> request);

// The window wants no photo any more: its waiting request is dropped and its
// running download abandoned.
void WithdrawPhotoDownloads(HWND window);

}  // namespace kontaktel
