// What the viewer knows of its host: the module the windows belong to, the INI
// file the host named and its dark-mode request. The exports write it; the
// viewer only reads it.
#pragma once

#include <windows.h>

#include <string>

namespace kontaktel {

struct HostContext {
  HINSTANCE module = nullptr;  // set at process attach
  std::wstring iniPath;        // empty until the host names its INI file
  int hostDark = -1;           // -1 until the host passes show flags, then 1 (dark) or 0
};

// One per module: every viewer window of the module shares its host.
HostContext& Host();

// The module's handle, or the main module's while the loader has not told us ours.
HINSTANCE ModuleHandle();

}  // namespace kontaktel
