// Photo bytes to bitmaps: signatures, limits, JPEG repair byte for byte, and
// real images made by GDI+'s encoders.
#include "photo/photo_decode.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <span>
#include <sstream>
#include <vector>

#include "photo/gdiplus_bitmap.h"
#include "photo/memory_stream.h"
#include "support/temp_file.h"
#include "support/test_images.h"
#include "text/file_text.h"
#include "vcard/card_parser.h"

namespace kontaktel {
namespace {

using test::EncodeImage;
using Bytes = std::vector<uint8_t>;

class PhotoDecodeTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { AddGdiplusUser(); }
  static void TearDownTestSuite() { ReleaseGdiplusUser(); }
};

// A copy of bytes that ends where a page no one may touch begins: any read
// past the end faults at once instead of reading what happens to lie there.
class GuardedBytes {
 public:
  explicit GuardedBytes(std::span<const uint8_t> bytes) {
    const size_t page = 4096, size = (bytes.size() + page - 1) / page * page;
    base_ = static_cast<uint8_t*>(
        VirtualAlloc(nullptr, size + page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    DWORD before = 0;
    EXPECT_TRUE(base_ != nullptr && VirtualProtect(base_ + size, page, PAGE_NOACCESS, &before));
    bytes_ = std::span<uint8_t>(base_ + size - bytes.size(), bytes.size());
    std::memcpy(bytes_.data(), bytes.data(), bytes.size());
  }
  ~GuardedBytes() { VirtualFree(base_, 0, MEM_RELEASE); }
  std::span<uint8_t> Bytes() const { return bytes_; }

 private:
  uint8_t* base_ = nullptr;
  std::span<uint8_t> bytes_;
};

Bytes Repaired(Bytes bytes) {
  RepairJpeg(bytes);
  return bytes;
}

// Every row of tests/data/tables/jpeg-repairs.txt: WHAT|INPUT|EXPECTED, bytes in hex.
TEST(RepairJpegTest, CraftedStreamsByteForByte) {
  std::istringstream rows(test::ReadFixture("tables/jpeg-repairs.txt"));
  const auto bytes = [](const std::string& hex) {
    Bytes out;
    std::istringstream pairs(hex);
    for (unsigned byte = 0; pairs >> std::hex >> byte;) out.push_back(static_cast<uint8_t>(byte));
    return out;
  };
  int checked = 0;
  for (std::string row; std::getline(rows, row);) {
    if (row.empty() || row[0] == '#') continue;
    const size_t first = row.find('|'), last = row.rfind('|');
    EXPECT_EQ(Repaired(bytes(row.substr(first + 1, last - first - 1))), bytes(row.substr(last + 1)))
        << row.substr(0, first);
    ++checked;
  }
  EXPECT_EQ(checked, 11);
}

TEST(RepairJpegTest, DataEndingInFillBytesIsReadNoFurther) {
  // Exactly sized on the heap: a read past the end would leave the block.
  for (size_t fill = 2; fill < 64; ++fill) {
    Bytes bytes{0xFF, 0xD8};
    bytes.insert(bytes.end(), fill, 0xFF);
    bytes.shrink_to_fit();
    RepairJpeg(bytes);
    EXPECT_EQ(bytes, (Bytes{0xFF, 0xD8, 0xFF, 0xD9})) << fill;
  }
}

TEST(ImageHeaderTest, DeclaredSizesAndLimits) {
  Bytes png{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0,    13,
            'I',  'H', 'D', 'R', 0,    0,    0x75, 0x30, 0, 0, 0x75, 0x30};
  ASSERT_TRUE(DeclaredImageSize(png));
  EXPECT_EQ(DeclaredImageSize(png)->width, 30000u);
  EXPECT_EQ(DeclaredImageSize(png)->height, 30000u);
  Bytes gif{'G', 'I', 'F', '8', '9', 'a', 0x10, 0x27, 0x20, 0x00};
  EXPECT_EQ(DeclaredImageSize(gif)->width, 10000u);
  EXPECT_EQ(DeclaredImageSize(gif)->height, 32u);
  Bytes jpeg{0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x04, 0x00, 0x00, 0xFF,
             0xC0, 0x00, 0x11, 0x08, 0x01, 0x2C, 0x02, 0x58};
  EXPECT_EQ(DeclaredImageSize(jpeg)->width, 600u);
  EXPECT_EQ(DeclaredImageSize(jpeg)->height, 300u);
  EXPECT_FALSE(DeclaredImageSize(Bytes{0xFF, 0xD8, 0xFF, 0xDA, 0x00, 0x02}));

  EXPECT_TRUE(ImageSizeAllowed(16384, 2441));
  EXPECT_FALSE(ImageSizeAllowed(16385, 1));
  EXPECT_FALSE(ImageSizeAllowed(1, 16385));
  EXPECT_TRUE(ImageSizeAllowed(6000, 6000));     // 36 megapixels
  EXPECT_FALSE(ImageSizeAllowed(7000, 6000));    // 42 megapixels
  EXPECT_FALSE(ImageSizeAllowed(16384, 16384));  // both sides allowed, the area not
}

TEST_F(PhotoDecodeTest, RealImagesOfEveryFormat) {
  for (const wchar_t* mime : {L"image/png", L"image/jpeg", L"image/gif", L"image/bmp"}) {
    const Bytes bytes =
        std::wstring_view(mime) == L"image/gif" ? test::MakeGif(40, 30) : EncodeImage(mime, 40, 30);
    ASSERT_FALSE(bytes.empty()) << mime;
    const UniqueGdiplusBitmap photo = DecodePhoto(bytes);
    ASSERT_NE(photo, nullptr) << mime;
    const SIZE size = BitmapSize(photo.Get());
    EXPECT_EQ(size.cx, 40) << mime;
    EXPECT_EQ(size.cy, 30) << mime;
  }
}

TEST_F(PhotoDecodeTest, WhatIsRefusedBeforeTheDecoder) {
  const Bytes png = EncodeImage(L"image/png", 4, 4);
  ASSERT_GE(png.size(), 12u);
  EXPECT_EQ(DecodePhoto(Bytes(png.begin(), png.begin() + 11)), nullptr);
  EXPECT_EQ(DecodePhoto(Bytes{}), nullptr);
  EXPECT_EQ(DecodePhoto(Bytes{0xFF, 0xD8, 0xFE, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}), nullptr);
  EXPECT_EQ(DecodePhoto(Bytes{'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E', 0, 0}), nullptr);
  Bytes tooLarge = png;
  tooLarge.resize(kMaxPhotoBytes + 1);
  EXPECT_EQ(DecodePhoto(tooLarge), nullptr);
  Bytes largest = png;
  largest.resize(kMaxPhotoBytes);  // trailing bytes after the image end are ignored by PNG readers
  EXPECT_TRUE(HasImageSignature(largest));
}

TEST_F(PhotoDecodeTest, AHugeDeclaredImageIsRefused) {
  // A small real PNG whose header claims 30000 x 30000 pixels.
  Bytes png = EncodeImage(L"image/png", 8, 8);
  ASSERT_GE(png.size(), 24u);
  for (size_t at : {16, 20}) {
    png[at] = 0;
    png[at + 1] = 0;
    png[at + 2] = 0x75;
    png[at + 3] = 0x30;
  }
  EXPECT_EQ(DecodePhoto(png), nullptr);
  EXPECT_EQ(BitmapFromBytes(png), nullptr);
}

TEST_F(PhotoDecodeTest, ACameraJpegShowsItselfNotItsThumbnail) {
  const Bytes photo = EncodeImage(L"image/jpeg", 64, 48);
  const Bytes thumbnail = EncodeImage(L"image/jpeg", 8, 6);
  ASSERT_FALSE(photo.empty());
  ASSERT_FALSE(thumbnail.empty());
  // An EXIF segment right after the start holding a whole JPEG of its own.
  Bytes exif{'E', 'x', 'i', 'f', 0, 0};
  exif.insert(exif.end(), thumbnail.begin(), thumbnail.end());
  const size_t length = exif.size() + 2;
  ASSERT_LT(length, 0x10000u);
  Bytes camera{
      0xFF, 0xD8, 0xFF, 0xE1, static_cast<uint8_t>(length >> 8), static_cast<uint8_t>(length)};
  camera.insert(camera.end(), exif.begin(), exif.end());
  camera.insert(camera.end(), photo.begin() + 2, photo.end());
  const UniqueGdiplusBitmap decoded = DecodePhoto(camera);
  ASSERT_NE(decoded, nullptr);
  EXPECT_EQ(BitmapSize(decoded.Get()).cx, 64);
  EXPECT_EQ(BitmapSize(decoded.Get()).cy, 48);
}

TEST_F(PhotoDecodeTest, GarbageBetweenSegmentsStillDecodes) {
  const Bytes photo = EncodeImage(L"image/jpeg", 24, 16);
  ASSERT_GT(photo.size(), 4u);
  ASSERT_EQ(photo[2], 0xFF);
  // After the first segment (marker, two length bytes and what they count).
  const size_t second = 4 + ((size_t{photo[4]} << 8) | photo[5]);
  ASSERT_EQ(photo[second], 0xFF);
  Bytes damaged(photo.begin(), photo.begin() + static_cast<ptrdiff_t>(second));
  damaged.insert(damaged.end(), {0x13, 0x37, 0x00, 0x42});
  damaged.insert(damaged.end(), photo.begin() + static_cast<ptrdiff_t>(second), photo.end());
  Bytes repaired = damaged;
  RepairJpeg(repaired);
  EXPECT_EQ(repaired, photo);
  const UniqueGdiplusBitmap decoded = DecodePhoto(damaged);
  ASSERT_NE(decoded, nullptr);
  EXPECT_EQ(BitmapSize(decoded.Get()).cx, 24);
}

TEST(MemoryStreamTest, ReadsTheBytesInPlaceAndNeverPastTheirEnd) {
  const std::string text = "0123456789";
  const GuardedBytes guarded(Bytes(text.begin(), text.end()));
  const UniqueMemoryStream stream = MemoryStream::Create(guarded.Bytes());
  ASSERT_NE(stream, nullptr);
  const auto seek = [&](int64_t move, DWORD origin) {
    LARGE_INTEGER at;
    at.QuadPart = move;
    ULARGE_INTEGER position{};
    return SUCCEEDED(stream->Seek(at, origin, &position)) ? int64_t(position.QuadPart) : -1;
  };
  const auto read = [&](ULONG size) {
    char buffer[16] = {};
    ULONG count = 99;
    EXPECT_EQ(stream->Read(buffer, size, &count), S_OK);
    return std::string(buffer, count);
  };
  EXPECT_EQ(read(4), "0123");
  guarded.Bytes()[4] = 'X';  // the stream holds no copy: it reads the change
  EXPECT_EQ(read(2), "X5");
  EXPECT_EQ(seek(100, STREAM_SEEK_END), 110);  // past the end is allowed...
  EXPECT_EQ(read(16), "");                     // ...and reads nothing
  EXPECT_EQ(seek(8, STREAM_SEEK_SET), 8);
  EXPECT_EQ(read(16), "89");
  EXPECT_EQ(read(16), "");
  EXPECT_EQ(seek(-11, STREAM_SEEK_CUR), -1);  // before the start is refused
  EXPECT_EQ(seek(-3, STREAM_SEEK_CUR), 7);
  STATSTG stat{};
  EXPECT_EQ(stream->Stat(&stat, STATFLAG_NONAME), S_OK);
  EXPECT_EQ(stat.cbSize.QuadPart, 10u);
  IStream* clone = nullptr;
  ASSERT_EQ(stream->Clone(&clone), S_OK);
  stream->Forget();  // the bytes' owner lets them go: no holder reads them again
  char byte = 0;
  ULONG count = 99;
  EXPECT_EQ(clone->Read(&byte, 1, &count), S_OK);
  EXPECT_EQ(count, 0u);
  clone->Release();
  EXPECT_EQ(read(16), "");
}

TEST_F(PhotoDecodeTest, ADamagedJpegAtTheEdgeOfReadableMemory) {
  // An APP1 segment right after the start whose length runs 16 KiB past the
  // end of the file: decoders seek there and read.
  const Bytes photo = EncodeImage(L"image/jpeg", 24, 16);
  ASSERT_GT(photo.size(), 4u);
  Bytes damaged{0xFF, 0xD8, 0xFF, 0xE1, 0x40, 0x00, 'E', 'x', 'i', 'f', 0, 0, 1, 2};
  damaged.insert(damaged.end(), photo.begin() + 2, photo.end());
  const GuardedBytes guarded(damaged);
  int shown = 0;
  for (int i = 0; i < 1000; ++i) {
    const UniqueGdiplusBitmap decoded = DecodePhoto(guarded.Bytes());
    shown += BitmapSize(decoded.Get()).cx == 24 && BitmapSize(decoded.Get()).cy == 16;
  }
  EXPECT_EQ(shown, 1000);  // the repaired stream shows it every time
}

TEST_F(PhotoDecodeTest, EveryPhotoOfTheTestFilesDecodesFromGuardedBytes) {
  int photos = 0;
  for (const char* folder : {KONTAKTEL_TEST_DATA, KONTAKTEL_SAMPLES}) {
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      if (entry.path().extension() != ".vcf") continue;
      const CardSet cards = ParseCards(LoadFileText(entry.path().wstring().c_str()));
      for (const Card card : cards) {
        const Bytes bytes = card.photoData();
        if (bytes.empty()) continue;
        ++photos;
        const GuardedBytes guarded(bytes);
        const UniqueGdiplusBitmap plain = DecodePhoto(bytes);
        const UniqueGdiplusBitmap decoded = DecodePhoto(guarded.Bytes());
        EXPECT_NE(decoded, nullptr) << entry.path() << " card " << card.index();
        EXPECT_EQ(BitmapSize(decoded.Get()).cx, BitmapSize(plain.Get()).cx) << entry.path();
        EXPECT_EQ(BitmapSize(decoded.Get()).cy, BitmapSize(plain.Get()).cy) << entry.path();
      }
    }
  }
  EXPECT_GE(photos, 4);
}

}  // namespace
}  // namespace kontaktel
