// The host's text search in a viewer window.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string_view>

#include "view/viewer_state.h"

namespace kontaktel {

// Marks every card that holds the text, then walks the cards from startIndex
// (wrapping around, the start card first) to the first marked one and selects
// it, also when the filter hides it. False, and nothing changed, for an empty
// text or a window without cards; false after a walk that found nothing.
bool SearchCards(ViewerState& state, std::wstring_view text, uint64_t startIndex, bool backwards,
                 bool matchCase, bool wholeWords);

}  // namespace kontaktel
