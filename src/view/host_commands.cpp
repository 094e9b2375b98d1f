#include "view/host_commands.h"

#include <string>

#include "view/clipboard.h"
#include "view/details_text.h"

namespace kontaktel {

namespace {

HWND DetailsViewOf(const ViewerState& state) {
  const HWND view = state.details.view.Get();
  return IsWindow(view) ? view : nullptr;
}

}  // namespace

bool CopyForHost(const ViewerState& state) {
  const HWND view = DetailsViewOf(state);
  if (view == nullptr) return false;
  std::wstring text = DetailsSelectedText(view);
  if (text.empty()) text = DetailsWholeText(view);
  return CopyTextToClipboard(state.window, text);
}

bool SelectAllForHost(const ViewerState& state) {
  const HWND view = DetailsViewOf(state);
  if (view == nullptr) return false;
  SendMessageW(view, EM_SETSEL, 0, -1);
  return true;
}

}  // namespace kontaktel
