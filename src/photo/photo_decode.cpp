#include "photo/photo_decode.h"

#include "photo/memory_stream.h"
#include "win/gdiplus_flat.h"

namespace kontaktel {

namespace {

using Gdiplus::DllExports::GdipBitmapLockBits;
using Gdiplus::DllExports::GdipBitmapUnlockBits;
using Gdiplus::DllExports::GdipCloneBitmapAreaI;
using Gdiplus::DllExports::GdipCreateBitmapFromScan0;
using Gdiplus::DllExports::GdipCreateBitmapFromStream;
using Gdiplus::DllExports::GdipDrawImageRectI;
using Gdiplus::DllExports::GdipGetImageGraphicsContext;

uint32_t BigEndian16(std::span<const uint8_t> b, size_t i) {
  return (uint32_t{b[i]} << 8) | b[i + 1];
}
uint32_t BigEndian32(std::span<const uint8_t> b, size_t i) {
  return (BigEndian16(b, i) << 16) | BigEndian16(b, i + 2);
}
uint32_t LittleEndian16(std::span<const uint8_t> b, size_t i) {
  return b[i] | (uint32_t{b[i + 1]} << 8);
}
uint32_t LittleEndian32(std::span<const uint8_t> b, size_t i) {
  return LittleEndian16(b, i) | (LittleEndian16(b, i + 2) << 16);
}

bool StartsWith(std::span<const uint8_t> b, std::initializer_list<uint8_t> prefix, size_t at = 0) {
  if (b.size() < at + prefix.size()) return false;
  size_t i = at;
  for (const uint8_t byte : prefix) {
    if (b[i++] != byte) return false;
  }
  return true;
}

std::optional<ImageSize> JpegFrameSize(std::span<const uint8_t> b) {
  size_t i = 2;
  while (i + 3 < b.size()) {
    if (b[i] != 0xFF) return std::nullopt;
    const uint8_t marker = b[i + 1];
    if (marker == 0xFF) {
      ++i;
      continue;
    }
    if (marker == 0xD8 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
      i += 2;
      continue;
    }
    if (marker == 0xDA || marker == 0xD9) return std::nullopt;  // scan before any frame header
    const size_t length = BigEndian16(b, i + 2);
    const bool frame =
        marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (frame && i + 8 < b.size()) return ImageSize{BigEndian16(b, i + 7), BigEndian16(b, i + 5)};
    if (length < 2) return std::nullopt;
    i += 2 + length;
  }
  return std::nullopt;
}

}  // namespace

bool HasImageSignature(std::span<const uint8_t> b) {
  return StartsWith(b, {0xFF, 0xD8, 0xFF}) || StartsWith(b, {0x89, 'P', 'N', 'G'}) ||
         (StartsWith(b, {'G', 'I', 'F', '8'}) && b.size() > 5 && (b[4] == '7' || b[4] == '9') &&
          b[5] == 'a') ||
         (StartsWith(b, {'R', 'I', 'F', 'F'}) && StartsWith(b, {'W', 'E', 'B', 'P'}, 8)) ||
         StartsWith(b, {'B', 'M'});
}

std::optional<ImageSize> DeclaredImageSize(std::span<const uint8_t> b) {
  if (StartsWith(b, {0x89, 'P', 'N', 'G'}) && b.size() >= 24 &&
      StartsWith(b, {'I', 'H', 'D', 'R'}, 12)) {
    return ImageSize{BigEndian32(b, 16), BigEndian32(b, 20)};
  }
  if (StartsWith(b, {'G', 'I', 'F', '8'}) && b.size() >= 10) {
    return ImageSize{LittleEndian16(b, 6), LittleEndian16(b, 8)};
  }
  if (StartsWith(b, {'B', 'M'}) && b.size() >= 26) {
    if (LittleEndian32(b, 14) == 12) return ImageSize{LittleEndian16(b, 18), LittleEndian16(b, 20)};
    const auto width = static_cast<int32_t>(LittleEndian32(b, 18));
    const auto height = static_cast<int32_t>(LittleEndian32(b, 22));  // negative for top-down rows
    return ImageSize{static_cast<uint32_t>(width < 0 ? -int64_t{width} : width),
                     static_cast<uint32_t>(height < 0 ? -int64_t{height} : height)};
  }
  if (StartsWith(b, {0xFF, 0xD8})) return JpegFrameSize(b);
  return std::nullopt;
}

bool ImageSizeAllowed(uint64_t width, uint64_t height) {
  return width <= kMaxPhotoSide && height <= kMaxPhotoSide && width * height <= kMaxPhotoPixels;
}

void RepairJpeg(std::vector<uint8_t>& b) {
  const size_t n = b.size();
  if (n < 4 || b[0] != 0xFF || b[1] != 0xD8) return;
  std::vector<uint8_t> out;
  out.reserve(n + 4);
  out.insert(out.end(), {0xFF, 0xD8});
  const auto copyRest = [&](size_t from) {
    out.insert(out.end(), b.begin() + static_cast<ptrdiff_t>(from), b.end());
  };
  size_t i = 2;
  while (i + 1 < n) {
    if (b[i] != 0xFF) {
      while (i < n && b[i] != 0xFF) ++i;  // bytes between segments are dropped
      continue;
    }
    while (i + 1 < n && b[i + 1] == 0xFF) ++i;  // fill bytes, up to the end of the data at most
    if (i + 1 >= n) break;
    const uint8_t m = b[i + 1];
    if (m == 0x00) {
      i += 2;
      continue;
    }
    if (m == 0xD9) {
      out.insert(out.end(), {0xFF, 0xD9});
      b = std::move(out);
      return;
    }
    if (m == 0xD8 || m == 0x01 || (m >= 0xD0 && m <= 0xD7)) {
      out.insert(out.end(), {0xFF, m});
      i += 2;
      continue;
    }
    if (i + 3 >= n) {
      copyRest(i);
      break;
    }
    const size_t length = BigEndian16(b, i + 2);
    if (length < 2) {
      i += 2;
      continue;
    }
    const size_t end = i + 2 + length;
    if (((m >= 0xE0 && m <= 0xEF) || m == 0xFE) && end > i + 4) {
      // An application or comment segment that runs into a marker is cut there.
      size_t cut = 0;
      for (size_t j = i + 4; j + 1 < std::min(n, end); ++j) {
        if (b[j] == 0xFF && b[j + 1] != 0x00 && b[j + 1] != 0xFF) {
          cut = j;
          break;
        }
      }
      if (cut != 0) {
        const size_t newLength = cut - i - 2;
        out.insert(out.end(), {0xFF, m, static_cast<uint8_t>(newLength >> 8),
                               static_cast<uint8_t>(newLength)});
        out.insert(out.end(), b.begin() + static_cast<ptrdiff_t>(i + 4),
                   b.begin() + static_cast<ptrdiff_t>(cut));
        i = cut;
        continue;
      }
    }
    if (end > n) {
      copyRest(i);
      break;
    }
    out.insert(out.end(), b.begin() + static_cast<ptrdiff_t>(i),
               b.begin() + static_cast<ptrdiff_t>(end));
    i = end;
    if (m == 0xDA) {
      copyRest(end);  // the entropy-coded data follows as it is
      break;
    }
  }
  if (out.size() < 2 || out[out.size() - 2] != 0xFF || out.back() != 0xD9)
    out.insert(out.end(), {0xFF, 0xD9});
  b = std::move(out);
}

UniqueGdiplusBitmap BitmapFromBytes(std::span<const uint8_t> bytes) {
  if (bytes.empty()) return {};
  if (const auto declared = DeclaredImageSize(bytes);
      declared && !ImageSizeAllowed(declared->width, declared->height)) {
    return {};
  }
  // The decoder reads the caller's bytes in place, never past their end. It
  // may read lazily until the source image goes, which happens before the
  // stream is let go; the stream then forgets the bytes in case anything
  // still holds it.
  const UniqueMemoryStream stream = MemoryStream::Create(bytes);
  if (!stream) return {};
  const struct ForgetOnExit {
    MemoryStream* stream;
    ~ForgetOnExit() { stream->Forget(); }
  } forget{stream.get()};

  Gdiplus::GpBitmap* rawSource = nullptr;
  if (GdipCreateBitmapFromStream(stream.get(), &rawSource) != Gdiplus::Ok || rawSource == nullptr)
    return {};
  const UniqueGdiplusBitmap source(rawSource);
  const SIZE size = BitmapSize(rawSource);
  if (size.cx <= 0 || size.cy <= 0 || !ImageSizeAllowed(size.cx, size.cy)) return {};

  // Reading the pixels once makes the decoder run over the whole image before the copy.
  Gdiplus::Rect whole(0, 0, size.cx, size.cy);
  Gdiplus::BitmapData locked{};
  if (GdipBitmapLockBits(rawSource, &whole, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB,
                         &locked) == Gdiplus::Ok) {
    GdipBitmapUnlockBits(rawSource, &locked);
  }
  Gdiplus::GpBitmap* clone = nullptr;
  if (GdipCloneBitmapAreaI(0, 0, size.cx, size.cy, PixelFormat32bppARGB, rawSource, &clone) ==
          Gdiplus::Ok &&
      clone != nullptr) {
    UniqueGdiplusBitmap result(clone);
    if (BitmapSize(clone).cx != 0) return result;
  }
  // Some decoders refuse to clone: draw the image into a bitmap of our own.
  Gdiplus::GpBitmap* copy = nullptr;
  if (GdipCreateBitmapFromScan0(size.cx, size.cy, 0, PixelFormat32bppARGB, nullptr, &copy) !=
          Gdiplus::Ok ||
      copy == nullptr) {
    return {};
  }
  UniqueGdiplusBitmap result(copy);
  Gdiplus::GpGraphics* rawGraphics = nullptr;
  if (GdipGetImageGraphicsContext(copy, &rawGraphics) != Gdiplus::Ok || rawGraphics == nullptr)
    return {};
  const UniqueGdiplusGraphics graphics(rawGraphics);
  if (GdipDrawImageRectI(rawGraphics, rawSource, 0, 0, size.cx, size.cy) != Gdiplus::Ok) return {};
  if (BitmapSize(copy).cx == 0) return {};
  return result;
}

UniqueGdiplusBitmap DecodePhoto(std::span<const uint8_t> bytes) {
  if (bytes.size() < kMinPhotoBytes || bytes.size() > kMaxPhotoBytes) return {};
  if (!HasImageSignature(bytes)) return {};
  // The bytes as they are first: a camera JPEG's EXIF thumbnail would end a
  // repaired stream early.
  if (UniqueGdiplusBitmap photo = BitmapFromBytes(bytes)) return photo;
  if (!StartsWith(bytes, {0xFF, 0xD8})) return {};
  std::vector<uint8_t> repaired(bytes.begin(), bytes.end());
  RepairJpeg(repaired);
  if (std::equal(repaired.begin(), repaired.end(), bytes.begin(), bytes.end())) return {};
  return BitmapFromBytes(repaired);
}

}  // namespace kontaktel
