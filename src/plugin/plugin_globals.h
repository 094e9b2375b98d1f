// State shared by every viewer window of the module. Everything per window
// lives in the window's own ViewerState: the host may show several files at once.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>

namespace kontaktel {

struct PluginGlobals {
  HINSTANCE moduleHandle = nullptr;
  bool viewClassRegistered = false;
  bool photoClassRegistered = false;
  std::atomic<int> liveViewers{0};
  std::atomic<int> gdiplusUsers{0};
  ULONG_PTR gdiplusToken = 0;
  int hostDark = -1;  // -1 until the host passes show flags, then 1 (dark) or 0
  std::wstring iniPath;
};

PluginGlobals& Globals();

// The module's handle, or the main module's while the loader has not told us ours.
HINSTANCE ModuleHandle();

// The host's show flags that ask for dark mode (its two dark-mode bits).
inline constexpr int kShowFlagsDark = 0x180;

}  // namespace kontaktel
