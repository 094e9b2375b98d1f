#include "view/host_commands.h"

#include <string>

#include "view/clipboard.h"
#include "view/details_text.h"
#include "view/viewer_state.h"

namespace kontaktel {

namespace {

HWND DetailsViewOf(HWND viewer) {
  const ViewerState* state = GetViewerState(viewer);
  if (state == nullptr) return nullptr;
  const HWND view = state->details.view.Get();
  return IsWindow(view) ? view : nullptr;
}

}  // namespace

bool CopyForHost(HWND viewer) {
  const HWND view = DetailsViewOf(viewer);
  if (view == nullptr) return false;
  std::wstring text = DetailsSelectedText(view);
  if (text.empty()) text = DetailsWholeText(view);
  return CopyTextToClipboard(viewer, text);
}

bool SelectAllForHost(HWND viewer) {
  const HWND view = DetailsViewOf(viewer);
  if (view == nullptr) return false;
  SendMessageW(view, EM_SETSEL, 0, -1);
  return true;
}

}  // namespace kontaktel
