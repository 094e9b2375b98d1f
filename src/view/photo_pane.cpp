#include "view/photo_pane.h"

#include <algorithm>

#include "photo/gdiplus_bitmap.h"
#include "view/theme.h"
#include "win/gdi_handles.h"
#include "win/gdiplus_flat.h"
#include "win/guarded_call.h"
#include "win/window_user_data.h"

namespace kontaktel {

namespace {

void PaintPhoto(HWND pane, HDC dc, const RECT& client) {
  FillRect(dc, &client, BackgroundBrush());
  const auto* image = WindowUserData<const UniqueGdiplusBitmap>(pane);
  if (image == nullptr) return;
  Gdiplus::GpImage* photo = image->Get();
  const SIZE size = BitmapSize(photo);
  if (size.cx <= 0 || size.cy <= 0) return;
  const RECT target =
      PhotoDrawRect(size, SIZE{client.right - client.left, client.bottom - client.top});
  Gdiplus::GpGraphics* raw = nullptr;
  if (Gdiplus::DllExports::GdipCreateFromHDC(dc, &raw) != Gdiplus::Ok || raw == nullptr) return;
  const UniqueGdiplusGraphics graphics(raw);
  Gdiplus::DllExports::GdipSetInterpolationMode(raw, Gdiplus::InterpolationModeHighQualityBicubic);
  Gdiplus::DllExports::GdipDrawImageRectI(raw, photo, client.left + target.left,
                                          client.top + target.top, target.right - target.left,
                                          target.bottom - target.top);
}

LRESULT OnPaint(HWND pane) {
  PaintScope paint(pane);
  RECT client{};
  GetClientRect(pane, &client);
  const int width = client.right, height = client.bottom;
  if (width <= 0 || height <= 0) return 0;
  // Painted off screen and copied in one block, so that resizing does not flicker.
  UniqueMemoryDc memory(CreateCompatibleDC(paint.Dc()));
  UniqueBitmap bitmap(CreateCompatibleBitmap(paint.Dc(), width, height));
  if (!memory || !bitmap) return 0;
  SelectScope selected(memory.Get(), bitmap.Get());
  PaintPhoto(pane, memory.Get(), client);
  BitBlt(paint.Dc(), 0, 0, width, height, memory.Get(), 0, 0, SRCCOPY);
  return 0;
}

LRESULT HandleMessage(HWND pane, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE:  // not owned: the viewer's state holds the photo
      SetWindowLongPtrW(pane, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(
                            reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams));
      break;
    case WM_PAINT:
      return OnPaint(pane);
    case WM_PRINTCLIENT: {
      RECT client{};
      GetClientRect(pane, &client);
      PaintPhoto(pane, reinterpret_cast<HDC>(wParam), client);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;  // painting covers every pixel
    case WM_MOUSEWHEEL:
      // The wheel scrolls the viewer's details column.
      if (const HWND parent = GetParent(pane)) return SendMessageW(parent, message, wParam, lParam);
      break;
    default:
      break;
  }
  return DefWindowProcW(pane, message, wParam, lParam);
}

}  // namespace

RECT PhotoDrawRect(SIZE photo, SIZE client) {
  if (photo.cx <= 0 || photo.cy <= 0) return RECT{2, 2, 2, 2};
  const double availableWidth = std::min<LONG>(client.cx, 1000),
               availableHeight = std::min<LONG>(client.cy, 1000);
  const double scale = std::min({availableWidth / photo.cx, availableHeight / photo.cy, 1.0});
  return RECT{2, 2, 2 + static_cast<int>(photo.cx * scale), 2 + static_cast<int>(photo.cy * scale)};
}

LRESULT CALLBACK PhotoPaneProc(HWND pane, UINT message, WPARAM wParam, LPARAM lParam) {
  return GuardedCall([&] { return HandleMessage(pane, message, wParam, lParam); }, LRESULT{0});
}

}  // namespace kontaktel
