// Move-only owners for the Windows handles the viewer holds: each frees its
// handle with the right call, so handlers read top to bottom without clean-up.
#pragma once

#include <windows.h>

#include <utility>

namespace kontaktel {

template <typename Handle, typename Traits>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(Handle handle) : handle_(handle) { Traits::Acquired(handle_); }
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, Handle{})) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.handle_, Handle{}), false);
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { Reset(); }

  Handle Get() const { return handle_; }
  explicit operator bool() const { return handle_ != Handle{}; }
  void Reset(Handle handle = Handle{}) { Reset(handle, true); }
  Handle Release() { return std::exchange(handle_, Handle{}); }

 private:
  void Reset(Handle handle, bool acquired) {
    if (handle_ != Handle{}) Traits::Free(handle_);
    handle_ = handle;
    if (acquired) Traits::Acquired(handle_);
  }
  Handle handle_{};
};

struct GdiObjectTraits {
  static void Acquired(HGDIOBJ) {}
  static void Free(HGDIOBJ object) { DeleteObject(object); }
};

template <typename Gdi>
using UniqueGdi = UniqueHandle<Gdi, GdiObjectTraits>;
using UniqueFont = UniqueGdi<HFONT>;
using UniqueBrush = UniqueGdi<HBRUSH>;
using UniqueBitmap = UniqueGdi<HBITMAP>;

struct MemoryDcTraits {
  static void Acquired(HDC) {}
  static void Free(HDC dc) { DeleteDC(dc); }
};
using UniqueMemoryDc = UniqueHandle<HDC, MemoryDcTraits>;

struct WindowTraits {
  static void Acquired(HWND) {}
  static void Free(HWND window) {
    if (IsWindow(window)) DestroyWindow(window);
  }
};
using UniqueWindow = UniqueHandle<HWND, WindowTraits>;

struct ModuleTraits {
  static void Acquired(HMODULE) {}
  static void Free(HMODULE module) { FreeLibrary(module); }
};
// A library loaded with LoadLibrary.
using UniqueModule = UniqueHandle<HMODULE, ModuleTraits>;

struct GlobalMemoryTraits {
  static void Acquired(HGLOBAL) {}
  static void Free(HGLOBAL memory) { GlobalFree(memory); }
};
using UniqueGlobalMemory = UniqueHandle<HGLOBAL, GlobalMemoryTraits>;

struct MenuTraits {
  static void Acquired(HMENU) {}
  static void Free(HMENU menu) { DestroyMenu(menu); }
};
// A menu that no window holds, such as a popup menu while it is built and tracked.
using UniqueMenu = UniqueHandle<HMENU, MenuTraits>;

// GlobalLock and GlobalUnlock as one object.
class GlobalLockScope {
 public:
  explicit GlobalLockScope(HGLOBAL memory) : memory_(memory), data_(GlobalLock(memory)) {}
  ~GlobalLockScope() {
    if (data_ != nullptr) GlobalUnlock(memory_);
  }
  GlobalLockScope(const GlobalLockScope&) = delete;
  GlobalLockScope& operator=(const GlobalLockScope&) = delete;
  void* Data() const { return data_; }

 private:
  HGLOBAL memory_;
  void* data_;
};

// OpenClipboard and CloseClipboard as one object; Opened() tells whether the
// clipboard is ours until the scope ends.
class ClipboardScope {
 public:
  explicit ClipboardScope(HWND owner) : opened_(OpenClipboard(owner) != FALSE) {}
  ~ClipboardScope() {
    if (opened_) CloseClipboard();
  }
  ClipboardScope(const ClipboardScope&) = delete;
  ClipboardScope& operator=(const ClipboardScope&) = delete;
  bool Opened() const { return opened_; }

 private:
  bool opened_;
};

// A window's device context, released to the window it came from.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~WindowDc() {
    if (dc_ != nullptr) ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC Get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// BeginPaint and EndPaint as one object.
class PaintScope {
 public:
  explicit PaintScope(HWND window) : window_(window) { BeginPaint(window_, &paint_); }
  ~PaintScope() { EndPaint(window_, &paint_); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  HDC Dc() const { return paint_.hdc; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
};

// Selects an object into a device context and puts the previous one back.
class SelectScope {
 public:
  SelectScope(HDC dc, HGDIOBJ object)
      : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr) {}
  ~SelectScope() {
    if (previous_ != nullptr) SelectObject(dc_, previous_);
  }
  SelectScope(const SelectScope&) = delete;
  SelectScope& operator=(const SelectScope&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace kontaktel
