#include "photo/gdiplus_bitmap.h"

#include <atomic>

#include "win/gdiplus_flat.h"

namespace kontaktel {

namespace {

std::atomic<int> gdiplusUsers{0};
ULONG_PTR gdiplusToken = 0;

}  // namespace

void AddGdiplusUser() {
  ++gdiplusUsers;
  if (gdiplusToken != 0) return;
  Gdiplus::GdiplusStartupInput input;  // version 1, no debug callback, with its background thread
  ULONG_PTR token = 0;
  if (Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok) gdiplusToken = token;
}

void ReleaseGdiplusUser() {
  if (--gdiplusUsers == 0 && gdiplusToken != 0) ShutdownGdiplus();
}

void ShutdownGdiplus() {
  if (gdiplusToken != 0) Gdiplus::GdiplusShutdown(gdiplusToken);
  gdiplusToken = 0;
  gdiplusUsers = 0;
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
