#include "photo/photo_fit.h"

#include <algorithm>
#include <memory>

#include "photo/gdiplus_flat.h"
#include "photo/photo_decode.h"

namespace kontaktel {

namespace {

struct GraphicsDelete {
  void operator()(Gdiplus::GpGraphics* graphics) const {
    Gdiplus::DllExports::GdipDeleteGraphics(graphics);
  }
};
struct AttributesDelete {
  void operator()(Gdiplus::GpImageAttributes* attributes) const {
    Gdiplus::DllExports::GdipDisposeImageAttributes(attributes);
  }
};

}  // namespace

UniqueGdiplusBitmap FitPhotoToBox(UniqueGdiplusBitmap photo, int box) {
  using namespace Gdiplus::DllExports;
  const SIZE size = BitmapSize(photo.get());
  if (box < 1 || size.cx <= 0 || size.cy <= 0 || (size.cx <= box && size.cy <= box)) return photo;
  const double factor = std::min(static_cast<double>(box) / size.cx,
                                 static_cast<double>(box) / size.cy);
  const int width = std::max(1, static_cast<int>(factor * size.cx));
  const int height = std::max(1, static_cast<int>(factor * size.cy));
  Gdiplus::GpBitmap* raw = nullptr;
  if (GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppARGB, nullptr, &raw) !=
          Gdiplus::Ok ||
      raw == nullptr) {
    return photo;
  }
  UniqueGdiplusBitmap fitted(raw);
  Gdiplus::GpGraphics* rawGraphics = nullptr;
  if (GdipGetImageGraphicsContext(raw, &rawGraphics) != Gdiplus::Ok || rawGraphics == nullptr)
    return photo;
  const std::unique_ptr<Gdiplus::GpGraphics, GraphicsDelete> graphics(rawGraphics);
  GdipSetInterpolationMode(rawGraphics, Gdiplus::InterpolationModeHighQualityBicubic);
  GdipSetPixelOffsetMode(rawGraphics, Gdiplus::PixelOffsetModeHighQuality);
  // Mirrored edges keep the border pixels from blending with the transparent
  // outside.
  Gdiplus::GpImageAttributes* rawAttributes = nullptr;
  GdipCreateImageAttributes(&rawAttributes);
  const std::unique_ptr<Gdiplus::GpImageAttributes, AttributesDelete> attributes(rawAttributes);
  if (rawAttributes != nullptr)
    GdipSetImageAttributesWrapMode(rawAttributes, Gdiplus::WrapModeTileFlipXY, 0, FALSE);
  if (GdipDrawImageRectRectI(rawGraphics, static_cast<Gdiplus::GpImage*>(photo.get()), 0, 0, width,
                             height, 0, 0, size.cx, size.cy, Gdiplus::UnitPixel, rawAttributes,
                             nullptr, nullptr) != Gdiplus::Ok) {
    return photo;
  }
  return fitted;
}

UniqueGdiplusBitmap DecodePhotoToBox(std::span<const uint8_t> bytes, int box) {
  return FitPhotoToBox(DecodePhoto(bytes), box);
}

}  // namespace kontaktel
