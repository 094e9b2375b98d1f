// The GDI+ headers with the min and max they expect; NOMINMAX keeps
// windows.h's away.
#pragma once

#include <objidl.h>
#include <windows.h>

#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>
