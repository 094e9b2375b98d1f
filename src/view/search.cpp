#include "view/search.h"

#include "present/card_match.h"
#include "view/viewer_state.h"
#include "view/viewer_window.h"

namespace kontaktel {

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
  SelectCard(window, static_cast<size_t>(*hit));
  return true;
}

}  // namespace kontaktel
