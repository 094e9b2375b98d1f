// Where the filter matched: while the filter box holds text, every place
// where it occurs in the values of the shown card's details (not in the
// captions or headings) gets the palette's mark background, and the first one
// is brought into view.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string_view>
#include <vector>

namespace kontaktel {

struct ViewerState;

struct MarkSpan {
  size_t start = 0;
  size_t length = 0;
  bool operator==(const MarkSpan&) const = default;
};

// Every occurrence of the filter text, in either case, in the values of a
// details text; none for an empty filter.
std::vector<MarkSpan> FilterMarkSpans(std::wstring_view text, std::wstring_view filterText);

// Marks the filter's words in the details view anew (clearing the old marks);
// the view's selection, such as the host's search hit, stays.
void MarkFilterMatches(HWND view, std::wstring_view filterText);

// Scrolls the details column so that the first mark is in view, when it is not.
void ScrollToFirstFilterMatch(ViewerState& state);

}  // namespace kontaktel
