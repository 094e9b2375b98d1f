// The tests' build of the plugin is linked with --wrap for each GDI call
// below (see src/CMakeLists.txt), so every call the plugin's code makes
// through the import table comes here first and is counted; the product's
// code is the same and calls the system directly.
#include "plugin/gdi_object_count.h"

#include <windows.h>

#include <atomic>

namespace {

std::atomic<int> liveObjects{0};

template <typename Handle>
Handle Created(Handle handle) {
  if (handle != nullptr) ++liveObjects;
  return handle;
}

BOOL Deleted(BOOL deleted) {
  if (deleted) --liveObjects;
  return deleted;
}

}  // namespace

// The linker's names for an import's pointer, wrapped and real; 32-bit names
// carry the __stdcall argument size.
#ifdef _WIN64
#define KONTAKTEL_WRAPPED(kind, name, bytes) "__" #kind "___imp_" #name
#else
#define KONTAKTEL_WRAPPED(kind, name, bytes) "___" #kind "__imp__" #name "@" #bytes
#endif

#define KONTAKTEL_COUNT_CALL(name, bytes, count, params, args)                        \
  extern "C" decltype(&name) real##name asm(KONTAKTEL_WRAPPED(real, name, bytes));    \
  static auto WINAPI Counting##name params {                                          \
    return count(real##name args);                                                    \
  }                                                                                   \
  extern "C" decltype(&name) wrapped##name asm(KONTAKTEL_WRAPPED(wrap, name, bytes)); \
  decltype(&name) wrapped##name = Counting##name;

KONTAKTEL_COUNT_CALL(CreateCompatibleBitmap, 12, Created, (HDC dc, int cx, int cy), (dc, cx, cy))
KONTAKTEL_COUNT_CALL(CreateCompatibleDC, 4, Created, (HDC dc), (dc))
KONTAKTEL_COUNT_CALL(CreateFontIndirectW, 4, Created, (const LOGFONTW* font), (font))
KONTAKTEL_COUNT_CALL(CreatePen, 12, Created, (int style, int width, COLORREF color),
                     (style, width, color))
KONTAKTEL_COUNT_CALL(CreateSolidBrush, 4, Created, (COLORREF color), (color))
KONTAKTEL_COUNT_CALL(CreateRectRgn, 16, Created, (int x1, int y1, int x2, int y2),
                     (x1, y1, x2, y2))
KONTAKTEL_COUNT_CALL(CreateRectRgnIndirect, 4, Created, (const RECT* rect), (rect))
KONTAKTEL_COUNT_CALL(CreateEllipticRgn, 16, Created, (int x1, int y1, int x2, int y2),
                     (x1, y1, x2, y2))
KONTAKTEL_COUNT_CALL(CreateRoundRectRgn, 24, Created,
                     (int x1, int y1, int x2, int y2, int w, int h), (x1, y1, x2, y2, w, h))
KONTAKTEL_COUNT_CALL(DeleteDC, 4, Deleted, (HDC dc), (dc))
KONTAKTEL_COUNT_CALL(DeleteObject, 4, Deleted, (HGDIOBJ object), (object))

namespace kontaktel {

int LiveGdiObjects() {
  return liveObjects;
}

}  // namespace kontaktel
