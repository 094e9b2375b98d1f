// A DLL built from the photo fetch code alone, so that a test can unload the
// module that runs a worker, as the host unloads the plugin.
#include <windows.h>

#include "photo/photo_fetch.h"
#include "photo/photo_test_seam.h"

using namespace kontaktel;

extern "C" {

__declspec(dllexport) void ProbeRegister(HWND window) {
  RegisterPhotoTarget(window);
}

__declspec(dllexport) void ProbeClose(HWND window) {
  UnregisterPhotoTarget(window);
  PurgePhotoResults(window);
}

__declspec(dllexport) BOOL ProbeStartFetch(HWND window, const wchar_t* url) {
  auto request = MakePhotoFetchRequest(window, 0, 1, url);
  PhotoTestSeam::AllowTestServer(request->download);
  return StartPhotoFetch(std::move(request));
}

__declspec(dllexport) int ProbeRunningWorkers() {
  return RunningPhotoWorkers();
}
}
