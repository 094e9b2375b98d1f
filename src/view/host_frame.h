// Where the host placed the viewer. A top-level parent is a Lister window; a
// child parent is one of the file manager's panels (quick view), where the
// keyboard focus belongs to the file list of the other panel and the parent
// is the host's own window, which the plugin must neither close nor destroy.
#pragma once

#include <windows.h>

namespace kontaktel {

bool IsInPanel(HWND viewer);

}  // namespace kontaktel
