// The host's thumbnail view asks for a picture of a file: the first card with
// a photo, else the first card's initials, its name and how many cards follow.
// The host may ask from any thread while viewers come and go, so everything
// here is local to the call but GDI+, whose user count guards its start-up.
#include <windows.h>

#include <algorithm>
#include <string>
#include <string_view>

#include "photo/gdiplus_bitmap.h"
#include "photo/photo_decode.h"
#include "photo/thumbnail.h"
#include "plugin/load_pipeline.h"
#include "present/card_accessors.h"
#include "present/thumbnail_face.h"
#include "text/file_text.h"
#include "vcard/card_parser.h"

namespace kontaktel {

namespace {

// A photo is rarely inside the 8 KiB the host passes, but a thumbnail must not
// read a whole archive of contacts either.
constexpr size_t kThumbnailReadLimit = 4 * 1024 * 1024;
// The host passes at most this much of the file: a full buffer of a file whose
// size is unknown is taken as cut.
constexpr size_t kHostBufferSize = 8192;
// Damaged photos cost a decode each: a few are tried before the initials.
constexpr int kPhotoAttempts = 4;

struct FileHead {
  std::string bytes;
  bool goesOn = false;  // the file is longer than what was read
};

class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  ~FileHandle() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  HANDLE Get() const { return handle_; }

 private:
  HANDLE handle_;
};

bool ReadFileHead(const wchar_t* path, FileHead& head) {
  if (path == nullptr || *path == L'\0') return false;
  const FileHandle file(CreateFileW(path, GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (file.Get() == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart <= 0) return false;
  const auto whole = static_cast<unsigned long long>(size.QuadPart);
  head.bytes.resize(static_cast<size_t>(std::min<unsigned long long>(whole, kThumbnailReadLimit)));
  size_t done = 0;
  while (done < head.bytes.size()) {
    DWORD got = 0;
    if (!ReadFile(file.Get(), head.bytes.data() + done,
                  static_cast<DWORD>(head.bytes.size() - done), &got, nullptr) ||
        got == 0) {
      break;
    }
    done += got;
  }
  head.bytes.resize(done);
  head.goesOn = done < whole;
  return done != 0;
}

// The host's content buffer: the file's first bytes, perhaps cut inside a line.
bool BufferHead(const wchar_t* path, const char* buffer, int length, FileHead& head) {
  if (buffer == nullptr || length <= 0) return false;
  head.bytes.assign(buffer, static_cast<size_t>(length));
  head.goesOn = head.bytes.size() >= kHostBufferSize;
  WIN32_FILE_ATTRIBUTE_DATA attributes{};
  if (path != nullptr && GetFileAttributesExW(path, GetFileExInfoStandard, &attributes)) {
    const unsigned long long size =
        (static_cast<unsigned long long>(attributes.nFileSizeHigh) << 32) | attributes.nFileSizeLow;
    head.goesOn = size > head.bytes.size();
  }
  return true;
}

// A cut read ends at its last line break: a character cut in two would make
// the text read as another code page. In UTF-16 a line feed's second byte
// stays with it.
void EndAtLineBreak(std::string& bytes) {
  const size_t lineFeed = bytes.find_last_of('\n');
  if (lineFeed == std::string::npos) return;
  size_t end = lineFeed + 1;
  if (end % 2 == 1 && end < bytes.size() && bytes[end] == '\0') ++end;
  bytes.resize(end);
}

HBITMAP MakeThumbnail(const wchar_t* path, const char* buffer, int length, int width, int height) {
  if (width <= 0 || height <= 0) return nullptr;
  FileHead head;
  if (!ReadFileHead(path, head) && !BufferHead(path, buffer, length, head)) return nullptr;
  std::wstring text;
  if (head.goesOn) {
    // What follows the last whole card of a cut read is a card cut short.
    EndAtLineBreak(head.bytes);
    text = DecodeFileText(head.bytes);
    text.resize(WholeCardsLength(text));
  } else {
    text = DecodeFileText(head.bytes);
  }
  head.bytes = std::string();
  const CardSet cards = ParseCards(std::move(text));
  if (cards.empty()) return nullptr;

  const GdiplusUser gdiplus;
  if (!GdiplusRunning()) return nullptr;
  size_t shown = 0;  // the first card with a photo that decodes, else the first card
  UniqueGdiplusBitmap photo;
  int attempts = 0;
  for (size_t i = 0; i < cards.size() && attempts < kPhotoAttempts; ++i) {
    const Card card = cards[i];
    if (!card.hasPhotoData()) continue;
    ++attempts;
    if ((photo = DecodePhoto(card.photoData()))) {
      shown = i;
      break;
    }
  }
  const Card card = cards[shown];
  ThumbnailContent content;
  content.photo = photo.Get();
  content.name = CardDisplayName(card);
  if (content.name.empty()) content.name = FirstEmail(card);
  if (content.name.empty()) content.name = FirstPhone(card);
  content.initials = ThumbnailInitials(content.name, card.givenName(), card.familyName());
  content.tileColour = ThumbnailTileColour(content.name);
  content.more = MoreCardsText(cards.size(), head.goesOn);
  return DrawThumbnail(content, width, height);
}

}  // namespace

}  // namespace kontaktel

using kontaktel::AnsiToWide;
using kontaktel::MakeThumbnail;

extern "C" {

HBITMAP __stdcall ListGetPreviewBitmapW(WCHAR* fileToLoad, int width, int height,
                                        char* contentBuffer, int contentBufferLength) {
  try {
    return MakeThumbnail(fileToLoad, contentBuffer, contentBufferLength, width, height);
  } catch (...) {
    return nullptr;
  }
}

HBITMAP __stdcall ListGetPreviewBitmap(char* fileToLoad, int width, int height,
                                       char* contentBuffer, int contentBufferLength) {
  try {
    const std::wstring name = AnsiToWide(fileToLoad);
    return MakeThumbnail(name.c_str(), contentBuffer, contentBufferLength, width, height);
  } catch (...) {
    return nullptr;
  }
}

}  // extern "C"
