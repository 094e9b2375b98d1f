// The host's own copy and select-all commands (ListSendCommand), carried out
// on the details view of a viewer window.
#pragma once

#include <windows.h>

#include "view/viewer_state.h"

namespace kontaktel {

// Copies the details view's selection, or its whole text when nothing is
// selected. False without a details view or when the clipboard could not
// take the text.
bool CopyForHost(const ViewerState& state);

// Selects the whole details text. False without a details view.
bool SelectAllForHost(const ViewerState& state);

}  // namespace kontaktel
