#include "photo/gdiplus_bitmap.h"

#include <objidl.h>
// gdiplus.h needs min and max from somewhere; NOMINMAX keeps windows.h's away.
#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>

#include "plugin/plugin_globals.h"

namespace kontaktel {

void GdiplusBitmapDeleter::operator()(void* bitmap) const {
  if (bitmap != nullptr) Gdiplus::DllExports::GdipDisposeImage(static_cast<Gdiplus::GpImage*>(bitmap));
}

void AddGdiplusUser() {
  PluginGlobals& globals = Globals();
  ++globals.gdiplusUsers;
  if (globals.gdiplusToken != 0) return;
  Gdiplus::GdiplusStartupInput input;  // version 1, no debug callback, with its background thread
  ULONG_PTR token = 0;
  if (Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok) globals.gdiplusToken = token;
}

void ReleaseGdiplusUser() {
  PluginGlobals& globals = Globals();
  if (--globals.gdiplusUsers == 0 && globals.gdiplusToken != 0) ShutdownGdiplus();
}

void ShutdownGdiplus() {
  PluginGlobals& globals = Globals();
  if (globals.gdiplusToken != 0) Gdiplus::GdiplusShutdown(globals.gdiplusToken);
  globals.gdiplusToken = 0;
  globals.gdiplusUsers = 0;
}

}  // namespace kontaktel
