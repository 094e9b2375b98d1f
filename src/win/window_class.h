// A window class of this module: registered on first use with the arrow
// cursor and the system window brush, unregistered at module end. A failed
// registration is tried again at the next use.
#pragma once

#include <windows.h>

namespace kontaktel {

class WindowClass {
 public:
  explicit WindowClass(const wchar_t* name) : name_(name) {}
  WindowClass(const WindowClass&) = delete;
  WindowClass& operator=(const WindowClass&) = delete;

  // True when the class is registered (now or before).
  bool Register(WNDPROC procedure, HINSTANCE module);
  void Unregister();
  bool Registered() const { return module_ != nullptr; }
  const wchar_t* Name() const { return name_; }

 private:
  const wchar_t* name_;
  HINSTANCE module_ = nullptr;  // set while registered
};

}  // namespace kontaktel
