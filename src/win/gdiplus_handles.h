// GDI+ objects of the flat interface (images, graphics) and the COM stream an
// image is decoded from. Only the declarations of GDI+ are needed here, so
// that holding a photo does not pull its headers into every file.
#pragma once

#include "win/unique_handle.h"

struct IStream;
namespace Gdiplus {
class GpImage;
class GpGraphics;
class GpBrush;
class GpPath;
class GpImageAttributes;
}  // namespace Gdiplus

namespace kontaktel {

struct GdiplusImageTraits : Uncounted {
  static void Free(Gdiplus::GpImage* image);
};
// A decoded image or bitmap, disposed with GdipDisposeImage.
using UniqueGdiplusImage = UniqueHandle<Gdiplus::GpImage*, GdiplusImageTraits>;

struct GdiplusGraphicsTraits : Uncounted {
  static void Free(Gdiplus::GpGraphics* graphics);
};
using UniqueGdiplusGraphics = UniqueHandle<Gdiplus::GpGraphics*, GdiplusGraphicsTraits>;

struct GdiplusBrushTraits : Uncounted {
  static void Free(Gdiplus::GpBrush* brush);
};
using UniqueGdiplusBrush = UniqueHandle<Gdiplus::GpBrush*, GdiplusBrushTraits>;

struct GdiplusPathTraits : Uncounted {
  static void Free(Gdiplus::GpPath* path);
};
using UniqueGdiplusPath = UniqueHandle<Gdiplus::GpPath*, GdiplusPathTraits>;

struct GdiplusImageAttributesTraits : Uncounted {
  static void Free(Gdiplus::GpImageAttributes* attributes);
};
using UniqueGdiplusImageAttributes =
    UniqueHandle<Gdiplus::GpImageAttributes*, GdiplusImageAttributesTraits>;

struct StreamTraits : Uncounted {
  static void Free(IStream* stream);
};
// A reference on a COM stream.
using UniqueStream = UniqueHandle<IStream*, StreamTraits>;

}  // namespace kontaktel
