#include "view/search.h"

#include <commdlg.h>
#include <richedit.h>

#include <algorithm>
#include <optional>
#include <string>

#include "present/card_match.h"
#include "view/contact_list.h"
#include "view/theme.h"

namespace kontaktel {

namespace {

// The first occurrence of the host's text in the details view.
std::optional<CHARRANGE> FindInDetails(HWND view, std::wstring_view text, bool matchCase,
                                       bool wholeWords) {
  if (!IsWindow(view)) return std::nullopt;
  const std::wstring needle(text);
  FINDTEXTEXW find{};
  find.chrg.cpMin = 0;
  find.chrg.cpMax = -1;
  find.lpstrText = needle.c_str();
  WPARAM flags = FR_DOWN;
  if (wholeWords) flags |= FR_WHOLEWORD;
  if (matchCase) flags |= FR_MATCHCASE;
  if (SendMessageW(view, EM_FINDTEXTEXW, flags, reinterpret_cast<LPARAM>(&find)) < 0) {
    return std::nullopt;
  }
  return find.chrgText;
}

// The details view is as tall as its text and the whole column scrolls: a
// found text below the window's bottom is brought up to a third of its height.
void ScrollIntoView(HWND window, ViewerState& state, HWND view, LONG found) {
  POINTL at{};
  if (SendMessageW(view, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&at), found) == -1) return;
  POINT point{at.x, at.y};
  MapWindowPoints(view, window, &point, 1);
  RECT client{};
  GetClientRect(window, &client);
  const int lineRoom = ScaleForDpi(window, 40);
  if (point.y >= 0 && point.y + lineRoom <= client.bottom) return;
  const LONG offset = state.details.scroll + point.y - (client.bottom - client.top) / 3;
  state.details.scroll = static_cast<int32_t>(std::max<LONG>(0, offset));
  RelayoutViewer(window);  // clamps the offset to what the column allows
}

}  // namespace

bool SearchCards(ViewerState& state, std::wstring_view text, uint64_t startIndex, bool backwards,
                 bool matchCase, bool wholeWords) {
  if (state.cards.empty() || text.empty()) return false;
  FilterState& filter = state.filter;
  filter.searchText = text;
  ComputeSearchMatches(state.cards, filter, wholeWords, matchCase);
  const std::optional<uint64_t> hit = FindSearchHit(state.cards, filter, startIndex, backwards);
  if (!hit) {
    InvalidateRect(state.window, nullptr, FALSE);  // the status line shows the count of 0
    return false;
  }
  // Also a card the filter hides: the details show it, the list no selected row.
  SelectCard(state, static_cast<size_t>(*hit));
  const HWND view = state.details.view.Get();
  if (const std::optional<CHARRANGE> found = FindInDetails(view, text, matchCase, wholeWords)) {
    ScrollIntoView(state.window, state, view, found->cpMin);
    // Selected last: laying the column out again puts the caret back at the start.
    SendMessageW(view, EM_SETSEL, static_cast<WPARAM>(found->cpMin),
                 static_cast<LPARAM>(found->cpMax));
    SendMessageW(view, EM_SCROLLCARET, 0, 0);
  }
  return true;
}

}  // namespace kontaktel
