// The contact list as screen readers see it. The list is painted by the
// viewer itself, so the system knows nothing of its rows: the viewer answers
// WM_GETOBJECT with an IAccessible of its own, a list whose children are the
// shown cards, followed by the filter edit, the photo-only check box and the
// details view as the child windows they are.
#pragma once

#include <windows.h>

#include "view/accessible_link.h"

namespace kontaktel {

struct ViewerState;

// WM_GETOBJECT: the list for OBJID_CLIENT; 0 for every other id (and when the
// object cannot be handed over), which the default procedure then answers.
LRESULT OnGetObject(ViewerState& state, WPARAM wParam, LPARAM lParam);

// The selection moved: while the viewer has the focus, a reader hears the new
// card (focus and selection events with its child id). A window without the
// focus, such as a quick view beside the host's file list, says nothing.
void NotifySelectionMoved(const ViewerState& state);

// The shown cards changed (the filter): the list's children are new.
void NotifyListChanged(const ViewerState& state);

}  // namespace kontaktel
