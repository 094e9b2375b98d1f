#include "view/dpi_change.h"

#include <commctrl.h>

#include <utility>

#include "view/shown_card.h"
#include "view/theme.h"

namespace kontaktel {

void CreateViewerFonts(HWND window, ViewerFonts& fonts) {
  fonts.main = CreateUiFont(window, 14);
  fonts.small = CreateUiFont(window, 12);
  fonts.dpi = WindowDpi(window);
}

bool AdoptWindowDpi(HWND window, ViewerState& state) {
  if (WindowDpi(window) == state.fonts.dpi) return false;
  ViewerFonts fonts;
  CreateViewerFonts(window, fonts);
  // The controls take the new fonts before the old ones are deleted.
  const auto small = reinterpret_cast<WPARAM>(fonts.small.Get());
  for (const HWND control : {state.list.filterEdit.Get(), state.list.photoOnlyCheck.Get()}) {
    if (IsWindow(control)) SendMessageW(control, WM_SETFONT, small, FALSE);
  }
  if (const HWND view = state.details.view.Get(); IsWindow(view)) {
    SendMessageW(view, WM_SETFONT, reinterpret_cast<WPARAM>(fonts.main.Get()), FALSE);
    const int margin = ScaleForDpi(window, 6);
    SendMessageW(view, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(margin, margin));
  }
  if (const HWND tooltip = state.list.tooltip.Get(); IsWindow(tooltip))
    SendMessageW(tooltip, TTM_SETMAXTIPWIDTH, 0, ScaleForDpi(window, 400));
  state.fonts = std::move(fonts);
  state.list.rowHeight = 0;
  RefillDetails(state);  // the character height in twips follows the font
  return true;
}

}  // namespace kontaktel
