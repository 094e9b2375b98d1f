#include "photo/photo_fit.h"

#include <algorithm>
#include "photo/photo_decode.h"
#include "win/gdiplus_flat.h"
#include "win/gdiplus_handles.h"

namespace kontaktel {

UniqueGdiplusBitmap FitPhotoToBox(UniqueGdiplusBitmap photo, int box) {
  using namespace Gdiplus::DllExports;
  const SIZE size = BitmapSize(photo.Get());
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
  const UniqueGdiplusGraphics graphics(rawGraphics);
  GdipSetInterpolationMode(rawGraphics, Gdiplus::InterpolationModeHighQualityBicubic);
  GdipSetPixelOffsetMode(rawGraphics, Gdiplus::PixelOffsetModeHighQuality);
  // Mirrored edges keep the border pixels from blending with the transparent
  // outside.
  Gdiplus::GpImageAttributes* rawAttributes = nullptr;
  GdipCreateImageAttributes(&rawAttributes);
  const UniqueGdiplusImageAttributes attributes(rawAttributes);
  if (rawAttributes != nullptr)
    GdipSetImageAttributesWrapMode(rawAttributes, Gdiplus::WrapModeTileFlipXY, 0, FALSE);
  if (GdipDrawImageRectRectI(rawGraphics, photo.Get(), 0, 0, width,
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
