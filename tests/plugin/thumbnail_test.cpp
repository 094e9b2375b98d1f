// The thumbnail export called as the file manager's thumbnail view calls it:
// with a file name, a content buffer or both, at any size, from any thread.
#include <gtest/gtest.h>
#include <windows.h>

#include <psapi.h>  // after windows.h, whose types it uses

#include <atomic>
#include <cstring>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "present/thumbnail_face.h"
#include "support/viewer_driver.h"
#include "support/test_images.h"

namespace {

using kontaktel::ThumbnailTileColour;
using kontaktel::test::CardWithPhoto;
using kontaktel::test::TempFile;

using PreviewW = HBITMAP(__stdcall*)(WCHAR*, int, int, char*, int);
using PreviewA = HBITMAP(__stdcall*)(char*, int, int, char*, int);

// A 24 x 16 BMP, red left half, blue right half.
std::vector<uint8_t> RedBlueBmp() {
  constexpr int kWidth = 24, kHeight = 16;
  std::vector<uint8_t> bmp(54 + kWidth * kHeight * 3, 0);
  const uint32_t fields[] = {static_cast<uint32_t>(bmp.size()), 0, 54, 40, kWidth, kHeight};
  bmp[0] = 'B', bmp[1] = 'M';
  for (int i = 0; i < 6; ++i) std::memcpy(&bmp[2 + 4 * i], &fields[i], 4);
  bmp[26] = 1, bmp[28] = 24;
  for (int p = 0; p < kWidth * kHeight; ++p) bmp[54 + 3 * p + (p % kWidth < kWidth / 2 ? 2 : 0)] = 0xFF;
  return bmp;
}

std::string Card(const std::string& name) {
  return "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:" + name + "\r\nEND:VCARD\r\n";
}

COLORREF Tile(const wchar_t* name) {
  const uint32_t rgb = ThumbnailTileColour(name);
  return RGB(rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

// What a host sees of a thumbnail: its size, the picture's height (the left
// column's run of the top-left colour) and the colours at two corners.
struct Shot {
  int width = 0, height = 0, pictureHeight = 0;
  COLORREF topLeft = 0, topRight = 0;
};

Shot Look(HBITMAP bitmap) {
  Shot shot;
  BITMAP info{};
  if (bitmap == nullptr || GetObjectW(bitmap, sizeof info, &info) == 0) return shot;
  shot.width = info.bmWidth, shot.height = info.bmHeight;
  std::vector<uint32_t> pixels(static_cast<size_t>(shot.width) * shot.height);
  BITMAPINFO format{};
  format.bmiHeader = {sizeof(BITMAPINFOHEADER), shot.width, -shot.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  HDC dc = GetDC(nullptr);
  GetDIBits(dc, bitmap, 0, shot.height, pixels.data(), &format, DIB_RGB_COLORS);
  ReleaseDC(nullptr, dc);
  DeleteObject(bitmap);  // the host owns the bitmap and deletes it
  const auto colour = [&](int x, int y) {
    const uint32_t p = pixels[static_cast<size_t>(y) * shot.width + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  };
  shot.topLeft = colour(0, 0), shot.topRight = colour(shot.width - 1, 0);
  while (shot.pictureHeight < shot.height && colour(0, shot.pictureHeight) == shot.topLeft)
    ++shot.pictureHeight;
  return shot;
}

class ThumbnailTest : public kontaktel::test::PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    Get(previewW_, "ListGetPreviewBitmapW");
    Get(previewA_, "ListGetPreviewBitmap");
  }
  // As the host calls it: the name and the file's first 8 KiB.
  HBITMAP Preview(const std::wstring& name, const std::string& head, int width, int height) {
    std::wstring path = name;
    std::string buffer = head.substr(0, 8192);
    return previewW_(path.empty() ? nullptr : path.data(), width, height,
                     buffer.empty() ? nullptr : buffer.data(), static_cast<int>(buffer.size()));
  }
  PreviewW previewW_ = nullptr;
  PreviewA previewA_ = nullptr;
};

TEST(ThumbnailFace, InitialsCountsAndWholeCards) {
  const struct {
    const wchar_t *name, *given, *family, *initials;
  } names[] = {{L"Anna Müller", L"", L"", L"AM"},  {L"иван петров", L"", L"", L"ИП"},
               {L"Dr. Maria Rossi", L"", L"", L"MR"}, {L"The Boss", L"Jane", L"Doe", L"JD"},
               {L"(Prince)", L"", L"", L"P"},         {L"+7 916", L"", L"", L"79"},
               {L"", L"", L"", L"?"}};
  for (const auto& n : names)
    EXPECT_EQ(kontaktel::ThumbnailInitials(n.name, n.given, n.family), n.initials) << n.name;
  EXPECT_EQ(kontaktel::MoreCardsText(42, false), L"+41");
  EXPECT_EQ(kontaktel::MoreCardsText(42, true), L"+41+");
  EXPECT_EQ(kontaktel::MoreCardsText(1, false), L"");
  EXPECT_EQ(kontaktel::WholeCardsLength(L"BEGIN:VCARD\r\nFN:A\r\nend:vcard \r\nBEGIN:VCARD\r\nFN:B"), 29u);
  EXPECT_EQ(kontaktel::WholeCardsLength(L"BEGIN:VCARD\r\nFN:A"), 17u);
}

TEST_F(ThumbnailTest, PhotoOrInitialsNoLargerThanAskedInTheirProportions) {
  std::string photoFile = Card("Anna") + CardWithPhoto("Boris Petrov", RedBlueBmp());
  for (int i = 0; i < 40; ++i) photoFile += Card("Card " + std::to_string(i));
  const TempFile photo(photoFile), initials(Card("Boris Petrov") + Card("Dora"));
  const struct {
    int width, height, expectedWidth, expectedHeight;  // 0: not pinned
  } sizes[] = {{32, 32, 32, 21},   {48, 48, 0, 0},   {64, 64, 0, 0},     {100, 40, 0, 0},
               {256, 256, 256, 200}, {512, 512, 0, 0}, {512, 64, 0, 0}, {64, 512, 0, 0}};
  for (const auto& size : sizes) {
    SCOPED_TRACE(std::to_string(size.width) + "x" + std::to_string(size.height));
    // The photo card, by name with and without the buffer, and by ANSI name.
    std::string ansi(photo.Path().begin(), photo.Path().end());
    for (HBITMAP bitmap : {Preview(photo.Path(), photoFile, size.width, size.height),
                           Preview(photo.Path(), "", size.width, size.height),
                           previewA_(ansi.data(), size.width, size.height, nullptr, 0)}) {
      const Shot shot = Look(bitmap);
      ASSERT_GT(shot.width, 0);
      EXPECT_LE(shot.width, size.width);
      EXPECT_LE(shot.height, size.height);
      if (size.expectedWidth != 0) {
        EXPECT_EQ(shot.width, size.expectedWidth);
        EXPECT_EQ(shot.height, size.expectedHeight);
      }
      EXPECT_EQ(shot.topLeft, RGB(255, 0, 0));
      EXPECT_EQ(shot.topRight, RGB(0, 0, 255));
      EXPECT_NEAR(shot.pictureHeight * 60, shot.width * 40, 60);  // 3 : 2 within a pixel
    }
    const Shot tile = Look(Preview(initials.Path(), "", size.width, size.height));
    EXPECT_EQ(tile.topLeft, Tile(L"Boris Petrov"));
    EXPECT_EQ(tile.width, tile.pictureHeight);  // a square
    EXPECT_LE(tile.height, size.height);
  }
  EXPECT_EQ(Look(Preview(initials.Path(), "", 256, 256)).height, 256);  // 227 + the name
}

TEST_F(ThumbnailTest, BufferCutCardsDamagedPhotosAndNothingToShow) {
  const std::string photoCard = CardWithPhoto("Carl", RedBlueBmp());
  std::string damaged = photoCard;
  damaged.replace(damaged.find("Qk") + 4, 20, std::string(20, '/'));  // offsets and header size
  // The host's 8 KiB end after the second card's photo, inside its note: the
  // card is dropped, photo and all.
  const std::string cut = Card("Dora") + photoCard.substr(0, photoCard.find("END:VCARD")) +
                          "NOTE:" + std::string(9000, 'x');
  const TempFile damagedFile(damaged), noCard("just a note\r\n"), empty("");
  const struct {
    std::wstring name;
    std::string buffer;
    COLORREF topLeft;  // 0: no thumbnail
  } cases[] = {
      {L"Z:\\no\\such.vcf", photoCard, RGB(255, 0, 0)},  // an unreadable name: the buffer
      {L"", cut, Tile(L"Dora")},
      {L"", photoCard.substr(0, photoCard.find("PHOTO")), Tile(L"Carl")},  // without END: kept
      {damagedFile.Path(), "", Tile(L"Carl")},
      {L"Z:\\no\\such.vcf", "", 0},
      {noCard.Path(), "just a note\r\n", 0},
      {empty.Path(), "", 0},
  };
  for (const auto& c : cases) {
    const Shot shot = Look(Preview(c.name, c.buffer, 96, 96));
    EXPECT_EQ(shot.width != 0, c.topLeft != 0) << c.buffer.substr(0, 60);
    if (c.topLeft != 0) {
      EXPECT_EQ(shot.topLeft, c.topLeft) << c.buffer.substr(0, 60);
    }
  }
  EXPECT_EQ(Preview(noCard.Path(), "", 0, 96), nullptr);
}

TEST_F(ThumbnailTest, ThousandsOfCallsOnTwoThreadsWhileViewersComeAndGo) {
  const std::string photoFile = CardWithPhoto("Anna", RedBlueBmp()) + Card("Boris");
  const TempFile photo(photoFile), initials(Card("Carl"));
  const auto memory = [] {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return static_cast<long long>(counters.PagefileUsage);
  };
  std::atomic<int> wrong{0};
  const auto work = [&](int calls) {
    for (int i = 0; i < calls; ++i) {
      const bool withPhoto = i % 2 == 0;
      const Shot shot = Look(Preview(withPhoto ? photo.Path() : initials.Path(),
                                     withPhoto ? photoFile : "", 96, 96));
      if (shot.topLeft != (withPhoto ? RGB(255, 0, 0) : Tile(L"Carl"))) ++wrong;
    }
  };
  work(200);  // the first calls fill caches that stay
  const long long before = memory();
  std::thread first(work, 1500), second(work, 1500);
  for (int i = 0; i < 40; ++i) {
    const TempFile viewed(photoFile);
    const HWND viewer = Load(viewed);
    Pump();
    listCloseWindow_(viewer);
    Pump();
  }
  first.join();
  second.join();
  const long long growth = memory() - before;
  std::printf("private memory after 3000 thumbnails: %+lld KiB\n", growth / 1024);
  EXPECT_EQ(wrong, 0);
  EXPECT_LT(growth, 4 << 20);
  EXPECT_EQ(Diagnostics().liveViewers, 0);
}

}  // namespace
