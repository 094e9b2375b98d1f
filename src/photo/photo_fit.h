// A decoded photo kept at the size it can be shown: scaled down once, with
// good quality, into a square box, so that a 40-megapixel photo costs the
// memory of the pane and painting never scales down a full image again.
#pragma once

#include <cstdint>
#include <span>

#include "photo/gdiplus_bitmap.h"

namespace kontaktel {

// The photo itself when it fits into box x box pixels; else a 32-bpp ARGB copy
// scaled down (never up) to fit, keeping its proportions. Null stays null;
// when scaling fails the photo is kept as it is.
UniqueGdiplusBitmap FitPhotoToBox(UniqueGdiplusBitmap photo, int box);

// DecodePhoto, then FitPhotoToBox.
UniqueGdiplusBitmap DecodePhotoToBox(std::span<const uint8_t> bytes, int box);

}  // namespace kontaktel
