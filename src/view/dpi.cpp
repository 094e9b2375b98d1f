#include "view/dpi.h"

#include "win/gdi_handles.h"

namespace kontaktel {

namespace {

int dpiOverride = 0;

// Loaded at run time: the plugin must also load on systems without them.
template <typename Function>
Function User32Function(const char* name) {
  const HMODULE user32 = GetModuleHandleW(L"user32.dll");
  return user32 == nullptr
             ? nullptr
             : reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name)));
}

int DeviceContextDpi(HWND window) {
  WindowDc dc(window);
  const int dpi = dc.Get() != nullptr ? GetDeviceCaps(dc.Get(), LOGPIXELSX) : 0;
  return dpi > 0 ? dpi : 96;
}

}  // namespace

int WindowDpi(HWND window) {
  if (dpiOverride > 0) return dpiOverride;
  using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
  static const auto forWindow = User32Function<GetDpiForWindowFunction>("GetDpiForWindow");
  if (forWindow != nullptr && window != nullptr) {
    if (const UINT dpi = forWindow(window); dpi > 0) return static_cast<int>(dpi);
  }
  return DeviceContextDpi(window);
}

int SystemMetricForDpi(int index, int dpi) {
  using GetSystemMetricsForDpiFunction = int(WINAPI*)(int, UINT);
  static const auto forDpi =
      User32Function<GetSystemMetricsForDpiFunction>("GetSystemMetricsForDpi");
  if (forDpi != nullptr) return forDpi(index, static_cast<UINT>(dpi));
  return MulDiv(GetSystemMetrics(index), dpi, DeviceContextDpi(nullptr));
}

int ScrollBarWidth(HWND window) {
  return SystemMetricForDpi(SM_CXVSCROLL, WindowDpi(window));
}

void SetDpiOverride(int dpi) {
  dpiOverride = dpi > 0 ? dpi : 0;
}

}  // namespace kontaktel
