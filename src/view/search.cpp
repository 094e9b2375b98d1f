#include "view/search.h"

#include <commdlg.h>
#include <richedit.h>

#include <string>

#include "present/card_match.h"
#include "view/viewer_state.h"
#include "view/viewer_window.h"

namespace kontaktel {

namespace {

// Selects the first occurrence of the host's text in the details view, so
// that the user sees what the search stopped at.
void SelectFoundText(HWND view, std::wstring_view text, bool matchCase, bool wholeWords) {
  if (!IsWindow(view)) return;
  const std::wstring needle(text);
  FINDTEXTEXW find{};
  find.chrg.cpMin = 0;
  find.chrg.cpMax = -1;
  find.lpstrText = needle.c_str();
  WPARAM flags = FR_DOWN;
  if (wholeWords) flags |= FR_WHOLEWORD;
  if (matchCase) flags |= FR_MATCHCASE;
  if (SendMessageW(view, EM_FINDTEXTEXW, flags, reinterpret_cast<LPARAM>(&find)) < 0) return;
  SendMessageW(view, EM_SETSEL, static_cast<WPARAM>(find.chrgText.cpMin),
               static_cast<LPARAM>(find.chrgText.cpMax));
  SendMessageW(view, EM_SCROLLCARET, 0, 0);
}

}  // namespace

bool SearchCards(HWND window, std::wstring_view text, uint64_t startIndex, bool backwards,
                 bool matchCase, bool wholeWords) {
  ViewerState* state = GetViewerState(window);
  if (state == nullptr || state->cards.empty() || text.empty()) return false;
  FilterState& filter = state->filter;
  filter.searchText = text;
  ComputeSearchMatches(state->cards, filter, wholeWords, matchCase);
  const std::optional<uint64_t> hit = FindSearchHit(state->cards, filter, startIndex, backwards);
  if (!hit) {
    InvalidateRect(window, nullptr, FALSE);  // the status line shows the count of 0
    return false;
  }
  // Also a card the filter hides: the details show it, the list no selected row.
  SelectCard(window, static_cast<size_t>(*hit));
  SelectFoundText(state->details.view.Get(), text, matchCase, wholeWords);
  return true;
}

}  // namespace kontaktel
