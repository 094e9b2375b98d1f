#include "photo/gdiplus_bitmap.h"

#include <atomic>
#include <mutex>

#include "win/gdiplus_flat.h"

namespace kontaktel {

namespace {

// Viewers start and stop GDI+ on the host's window thread, thumbnails on any
// thread: the count and the start-up and shut-down it decides go together.
std::mutex gdiplusLock;
std::atomic<int> gdiplusUsers{0};
std::atomic<ULONG_PTR> gdiplusToken{0};

void ShutdownLocked() {
  if (gdiplusToken != 0) Gdiplus::GdiplusShutdown(gdiplusToken);
  gdiplusToken = 0;
  gdiplusUsers = 0;
}

}  // namespace

void AddGdiplusUser() {
  const std::lock_guard lock(gdiplusLock);
  ++gdiplusUsers;
  if (gdiplusToken != 0) return;
  Gdiplus::GdiplusStartupInput input;  // version 1, no debug callback, with its background thread
  ULONG_PTR token = 0;
  if (Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok) gdiplusToken = token;
}

void ReleaseGdiplusUser() {
  const std::lock_guard lock(gdiplusLock);
  if (--gdiplusUsers == 0 && gdiplusToken != 0) ShutdownLocked();
}

void ShutdownGdiplus() {
  const std::lock_guard lock(gdiplusLock);
  ShutdownLocked();
}

int GdiplusUserCount() {
  return gdiplusUsers;
}
bool GdiplusRunning() {
  return gdiplusToken != 0;
}

SIZE BitmapSize(Gdiplus::GpImage* bitmap) {
  if (bitmap == nullptr) return SIZE{0, 0};
  UINT width = 0, height = 0;
  Gdiplus::DllExports::GdipGetImageWidth(bitmap, &width);
  Gdiplus::DllExports::GdipGetImageHeight(bitmap, &height);
  return SIZE{static_cast<LONG>(width), static_cast<LONG>(height)};
}

}  // namespace kontaktel
