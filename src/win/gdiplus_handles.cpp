// The frees of GDI+ objects and COM streams, where the GDI+ headers are included.
#include "win/gdiplus_handles.h"

#include "win/gdiplus_flat.h"

namespace kontaktel {

void GdiplusImageTraits::Free(Gdiplus::GpImage* image) {
  Gdiplus::DllExports::GdipDisposeImage(image);
}

void GdiplusGraphicsTraits::Free(Gdiplus::GpGraphics* graphics) {
  Gdiplus::DllExports::GdipDeleteGraphics(graphics);
}

void GdiplusBrushTraits::Free(Gdiplus::GpBrush* brush) {
  Gdiplus::DllExports::GdipDeleteBrush(brush);
}

void GdiplusPathTraits::Free(Gdiplus::GpPath* path) {
  Gdiplus::DllExports::GdipDeletePath(path);
}

void GdiplusImageAttributesTraits::Free(Gdiplus::GpImageAttributes* attributes) {
  Gdiplus::DllExports::GdipDisposeImageAttributes(attributes);
}

void StreamTraits::Free(IStream* stream) {
  stream->Release();
}

}  // namespace kontaktel
