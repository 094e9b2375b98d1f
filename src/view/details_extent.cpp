#include "view/details_extent.h"

#include <richedit.h>

#include "view/details_pane.h"

namespace kontaktel {

void ForgetDetailsExtent(DetailsExtent& extent, int captionWidth) {
  extent.heightWidth = -1;
  extent.tabClientWidth = -1;
  extent.captionWidth = captionWidth;
}

int DetailsHeight(DetailsExtent& extent, HWND view, int width) {
  if (extent.heightWidth != width) {
    extent.height = MeasureDetailsHeight(view, width);
    extent.heightWidth = width;
    ++extent.measures;
  }
  return extent.height;
}

void FitDetailsTabStop(DetailsExtent& extent, HWND view) {
  if (!IsWindow(view)) return;
  RECT client{};
  GetClientRect(view, &client);
  if (client.right == extent.tabClientWidth) return;
  SetDetailsTabStop(view, extent.captionWidth);
  extent.tabClientWidth = client.right;
}

int DetailsTextScroll(HWND view) {
  POINT at{};
  if (!IsWindow(view)) return 0;
  SendMessageW(view, EM_GETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&at));
  return at.y;
}

void ScrollDetailsText(HWND view, int y) {
  if (!IsWindow(view)) return;
  POINT at{};
  SendMessageW(view, EM_GETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&at));
  if (at.y == y) return;
  at.y = y;
  SendMessageW(view, EM_SETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&at));
}

}  // namespace kontaktel
