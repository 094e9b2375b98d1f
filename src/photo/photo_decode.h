// A card's photo bytes (embedded or downloaded) become a standalone 32-bpp
// ARGB GDI+ bitmap.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "photo/gdiplus_bitmap.h"

namespace kontaktel {

inline constexpr size_t kMinPhotoBytes = 12;
inline constexpr size_t kMaxPhotoBytes = 8 * 1024 * 1024;
// Larger images would make the decoder allocate gigabytes inside the host.
inline constexpr uint32_t kMaxPhotoSide = 16384;
inline constexpr uint64_t kMaxPhotoPixels = 40'000'000;

// JPEG, PNG, GIF, BMP (and WebP, which GDI+ cannot decode) by their first bytes.
bool HasImageSignature(std::span<const uint8_t> bytes);

struct ImageSize {
  uint32_t width = 0;
  uint32_t height = 0;
};
// The size an image's header declares (PNG, GIF, BMP, JPEG); nothing when the
// header cannot be read.
std::optional<ImageSize> DeclaredImageSize(std::span<const uint8_t> bytes);
bool ImageSizeAllowed(uint64_t width, uint64_t height);

// Rebuilds a damaged JPEG stream marker by marker: garbage between segments
// dropped, segments cut where a marker interrupts them, the end marker
// appended. Streams shorter than 4 bytes or not starting with FF D8 stay.
void RepairJpeg(std::vector<uint8_t>& bytes);

// The bytes decoded by GDI+ as they are; null when they do not decode, or
// declare a size above the limits.
UniqueGdiplusBitmap BitmapFromBytes(std::span<const uint8_t> bytes);

// The photo: the bytes as they are first and, for a JPEG that does not
// decode, its repaired stream. Null for anything unusable.
UniqueGdiplusBitmap DecodePhoto(std::span<const uint8_t> bytes);

}  // namespace kontaktel
