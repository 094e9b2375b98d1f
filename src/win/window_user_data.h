// An object a window owns through its user-data slot: handed to the window
// when it is created and taken back (and freed) when it is destroyed.
#pragma once

#include <windows.h>

#include <memory>

namespace kontaktel {

// The object in the slot, or null.
template <typename T>
T* WindowUserData(HWND window) {
  return reinterpret_cast<T*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

// The window owns `data` from now on; returns it.
template <typename T>
T& AttachUserData(HWND window, std::unique_ptr<T> data) {
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(data.get()));
  return *data.release();
}

// Takes the object back out of the slot, which is empty afterwards.
template <typename T>
std::unique_ptr<T> DetachUserData(HWND window) {
  std::unique_ptr<T> data(WindowUserData<T>(window));
  SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  return data;
}

}  // namespace kontaktel
