#include "plugin/list_diagnostics.h"

#include <cwchar>
#include <vector>

#include "config/ui_language.h"
#include "present/card_match.h"
#include "view/status_line.h"
#include "view/contact_list.h"
#include "view/viewer_module.h"
#include "view/viewer_state.h"

using namespace kontaktel;

namespace {

template <size_t N>
void CopyText(wchar_t (&target)[N], const std::wstring& text) {
  std::wcsncpy(target, text.c_str(), N - 1);
  target[N - 1] = L'\0';
}

}  // namespace

extern "C" __declspec(dllexport) BOOL
    __stdcall KontaktelGetListView(HWND window, KontaktelListView* record) {
  try {
    if (record == nullptr || record->size != static_cast<int>(sizeof(KontaktelListView)))
      return FALSE;
    const ViewerState* state = GetViewerState(window);
    if (state == nullptr) return FALSE;
    record->rowCount = static_cast<int>(state->filter.visibleIndices.size());
    record->topRow = state->list.topRow;
    record->rowsPerPage = state->list.rowsPerPage;
    record->selectedRow = SelectedRow(state->filter);
    CopyText(record->status, ViewerStatusText(*state));
    return TRUE;
  } catch (...) {
    return FALSE;
  }
}

extern "C" __declspec(dllexport) BOOL
    __stdcall KontaktelGetListRow(HWND window, int pageRow, KontaktelListRow* record) {
  try {
    if (record == nullptr || record->size != static_cast<int>(sizeof(KontaktelListRow)))
      return FALSE;
    const ViewerState* state = GetViewerState(window);
    if (state == nullptr || pageRow < 0) return FALSE;
    const std::vector<ListRow> rows = ComposeListPage(
        state->cards, state->filter, state->list.topRow, state->list.rowsPerPage, UiIsRussian());
    if (static_cast<size_t>(pageRow) >= rows.size()) return FALSE;
    const ListRow& row = rows[static_cast<size_t>(pageRow)];
    record->card = static_cast<int>(row.card);
    record->shade = static_cast<int>(row.shade);
    CopyText(record->name, row.name);
    CopyText(record->detail, row.detail);
    return TRUE;
  } catch (...) {
    return FALSE;
  }
}
