// GDI+ through its flat interface: start-up shared by the viewer windows, and
// the owner of decoded bitmaps.
#pragma once

#include <windows.h>

#include "win/gdiplus_handles.h"

namespace kontaktel {

// A decoded GDI+ bitmap.
using UniqueGdiplusBitmap = UniqueGdiplusImage;

// Starts GDI+ for one more user; the first user starts it. Any thread may
// add and release users. On failure the
// token stays 0 and photos cannot be decoded.
void AddGdiplusUser();
// The last user shuts GDI+ down.
void ReleaseGdiplusUser();
// At module end: shuts GDI+ down whatever the user count says.
void ShutdownGdiplus();

// One user for the scope's lifetime.
class GdiplusUser {
 public:
  GdiplusUser() { AddGdiplusUser(); }
  ~GdiplusUser() { ReleaseGdiplusUser(); }
  GdiplusUser(const GdiplusUser&) = delete;
  GdiplusUser& operator=(const GdiplusUser&) = delete;
};

int GdiplusUserCount();
bool GdiplusRunning();

// A bitmap's size; {0, 0} for none.
SIZE BitmapSize(Gdiplus::GpImage* bitmap);

}  // namespace kontaktel
