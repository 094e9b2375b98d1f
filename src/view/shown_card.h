// The selected card in the details column: its text and its photo.
#pragma once

#include <windows.h>

#include "view/viewer_state.h"

namespace kontaktel {

// Shows cards[selected]: decodes its embedded photo or starts its download,
// fills the details view, and lays the window out again.
void ShowSelectedCard(ViewerState& state);

// Fills the details view again with the current palette and language, the
// photo left as it is: after every palette or language change.
void RefillDetails(ViewerState& state);

}  // namespace kontaktel
