// The status line under the contact list, as the window paints it and as a
// screen reader reads it.
#pragma once

#include <string>

#include "view/viewer_state.h"

namespace kontaktel {

// The load's progress while the file is still being read ("Loading… N cards
// (P%)"), else the counts of the cards, the filter and the search.
std::wstring ViewerStatusText(const ViewerState& state);

}  // namespace kontaktel
