#include "support/test_images.h"

#include <objidl.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>

namespace kontaktel::test {

namespace {

bool EncoderFor(const wchar_t* mimeType, CLSID& clsid) {
  UINT count = 0, size = 0;
  if (Gdiplus::GetImageEncodersSize(&count, &size) != Gdiplus::Ok || size == 0) return false;
  std::vector<BYTE> buffer(size);
  auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
  if (Gdiplus::GetImageEncoders(count, size, encoders) != Gdiplus::Ok) return false;
  for (UINT i = 0; i < count; ++i) {
    if (wcscmp(encoders[i].MimeType, mimeType) == 0) {
      clsid = encoders[i].Clsid;
      return true;
    }
  }
  return false;
}

}  // namespace

std::vector<uint8_t> EncodeImage(const wchar_t* mimeType, int width, int height) {
  using namespace Gdiplus::DllExports;
  CLSID encoder{};
  if (!EncoderFor(mimeType, encoder)) return {};
  Gdiplus::GpBitmap* bitmap = nullptr;
  if (GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppARGB, nullptr, &bitmap) !=
      Gdiplus::Ok)
    return {};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x)
      GdipBitmapSetPixel(bitmap, x, y, x < width / 2 ? 0xFF3060C0 : 0xFFE0A020);
  }
  std::vector<uint8_t> bytes;
  IStream* stream = nullptr;
  if (CreateStreamOnHGlobal(nullptr, TRUE, &stream) == S_OK) {
    if (GdipSaveImageToStream(bitmap, stream, &encoder, nullptr) == Gdiplus::Ok) {
      HGLOBAL memory = nullptr;
      GetHGlobalFromStream(stream, &memory);
      STATSTG stat{};
      stream->Stat(&stat, STATFLAG_NONAME);
      const auto* data = static_cast<const uint8_t*>(GlobalLock(memory));
      bytes.assign(data, data + stat.cbSize.QuadPart);
      GlobalUnlock(memory);
    }
    stream->Release();
  }
  GdipDisposeImage(bitmap);
  return bytes;
}

std::vector<uint8_t> MakeGif(int width, int height) {
  std::vector<uint8_t> gif{'G', 'I', 'F', '8', '9', 'a'};
  const auto word = [&gif](int value) {
    gif.push_back(static_cast<uint8_t>(value));
    gif.push_back(static_cast<uint8_t>(value >> 8));
  };
  word(width);
  word(height);
  gif.insert(gif.end(), {0x81, 0, 0});  // a global table of 4 colours
  gif.insert(gif.end(), {0x30, 0x60, 0xC0, 0xE0, 0xA0, 0x20, 0, 0, 0, 0, 0, 0});
  gif.push_back(',');
  word(0);
  word(0);
  word(width);
  word(height);
  gif.push_back(0);
  // LZW with 3-bit codes that never grow: a clear code before every two pixels.
  gif.push_back(2);
  std::vector<uint8_t> data;
  uint32_t bits = 0, count = 0;
  const auto code = [&](uint32_t value) {
    bits |= value << count;
    count += 3;
    while (count >= 8) {
      data.push_back(static_cast<uint8_t>(bits));
      bits >>= 8;
      count -= 8;
    }
  };
  for (int i = 0; i < width * height; ++i) {
    if (i % 2 == 0) code(4);
    code(i % width < width / 2 ? 0 : 1);
  }
  code(5);
  if (count > 0) data.push_back(static_cast<uint8_t>(bits));
  for (size_t at = 0; at < data.size(); at += 255) {
    const size_t size = std::min<size_t>(255, data.size() - at);
    gif.push_back(static_cast<uint8_t>(size));
    gif.insert(gif.end(), data.begin() + static_cast<ptrdiff_t>(at),
               data.begin() + static_cast<ptrdiff_t>(at + size));
  }
  gif.push_back(0);
  gif.push_back(';');
  return gif;
}

std::string Base64(const std::vector<uint8_t>& bytes) {
  static const char kAlphabet[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  for (size_t i = 0; i < bytes.size(); i += 3) {
    const uint32_t chunk = (uint32_t{bytes[i]} << 16) |
                           (i + 1 < bytes.size() ? uint32_t{bytes[i + 1]} << 8 : 0) |
                           (i + 2 < bytes.size() ? bytes[i + 2] : 0);
    out += kAlphabet[(chunk >> 18) & 63];
    out += kAlphabet[(chunk >> 12) & 63];
    out += i + 1 < bytes.size() ? kAlphabet[(chunk >> 6) & 63] : '=';
    out += i + 2 < bytes.size() ? kAlphabet[chunk & 63] : '=';
  }
  return out;
}

std::string CardWithPhoto(const std::string& name, const std::vector<uint8_t>& photo) {
  return "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:" + name +
         "\r\nTEL;TYPE=CELL:+1 555 0100\r\nPHOTO;ENCODING=b;TYPE=PNG:" + Base64(photo) +
         "\r\nEND:VCARD\r\n";
}

}  // namespace kontaktel::test
