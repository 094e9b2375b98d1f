// Registration through RegisterClassW, remembered with the module it was made for.
#include "win/window_class.h"

namespace kontaktel {

bool WindowClass::Register(WNDPROC procedure, HINSTANCE module) {
  if (Registered()) return true;
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = module;
  windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
  windowClass.lpszClassName = name_;
  if (RegisterClassW(&windowClass) != 0) module_ = module;
  return Registered();
}

void WindowClass::Unregister() {
  if (!Registered()) return;
  UnregisterClassW(name_, module_);
  module_ = nullptr;
}

}  // namespace kontaktel
