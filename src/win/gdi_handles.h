// GDI: owners for the objects the plugin creates (fonts, brushes, pens,
// regions, bitmaps, memory device contexts), and scopes for a window's device context,
// a paint and a selection. (The tests' build of the plugin counts the objects
// at link time, so that a test can prove none leaks.)
#pragma once

#include <windows.h>

#include "win/unique_handle.h"

namespace kontaktel {

struct GdiObjectTraits : Uncounted {
  static void Free(HGDIOBJ object) { DeleteObject(object); }
};

template <typename Gdi>
using UniqueGdi = UniqueHandle<Gdi, GdiObjectTraits>;

using UniqueFont = UniqueGdi<HFONT>;
using UniqueBrush = UniqueGdi<HBRUSH>;
using UniquePen = UniqueGdi<HPEN>;
using UniqueBitmap = UniqueGdi<HBITMAP>;

struct MemoryDcTraits : Uncounted {
  static void Free(HDC dc) { DeleteDC(dc); }
};
using UniqueMemoryDc = UniqueHandle<HDC, MemoryDcTraits>;

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
