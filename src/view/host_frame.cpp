#include "view/host_frame.h"

namespace kontaktel {

bool IsInPanel(HWND viewer) {
  const HWND parent = GetParent(viewer);
  return parent != nullptr && (GetWindowLongPtrW(parent, GWL_STYLE) & WS_CHILD) != 0;
}

}  // namespace kontaktel
