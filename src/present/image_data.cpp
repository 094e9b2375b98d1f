#include "present/image_data.h"

#include <cstddef>

#include "text/text_util.h"

namespace kontaktel {

namespace {

constexpr size_t kMinImageChars = 60;

bool IsBase64Char(wchar_t c) {
  return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || (c >= L'0' && c <= L'9') ||
         c == L'+' || c == L'/' || c == L'=' || c == L'-' || c == L'_';
}

// Base64 of a JPEG starts /9j/ (FF D8 FF), of a PNG iVBOR (its signature).
bool StartsLikeImage(std::wstring_view text) {
  size_t start = 0;
  while (start < text.size() && IsSpaceChar(text[start])) ++start;
  const std::wstring_view rest = text.substr(start);
  return StartsWith(rest, L"/9j/") || StartsWith(rest, L"iVBOR");
}

}  // namespace

bool LooksLikeImageData(std::wstring_view text) {
  if (text.size() < kMinImageChars) return false;
  if (StartsLikeImage(text)) return true;
  // A web address is never image data, however long and plain its characters.
  if (text.find(L"://") != std::wstring_view::npos) return false;
  size_t counted = 0;
  size_t base64 = 0;
  size_t gaps = 0;  // runs of blanks
  wchar_t previous = 0;
  for (const wchar_t c : text) {
    if (c == L' ' && previous != L' ') ++gaps;
    previous = c;
    if (c == L'\r' || c == L'\n' || c == L' ') continue;
    ++counted;
    if (IsBase64Char(c)) ++base64;
  }
  // English prose, long company names and addresses are mostly letters too,
  // but have a gap every few words. Base64 has none, or one per line where a
  // vCard 2.1 exporter indented its lines with several blanks (unfolding takes
  // away only one), so a run of blanks counts once.
  if (gaps * 50 > counted) return false;
  return counted >= kMinImageChars && base64 * 10 >= counted * 9;
}

}  // namespace kontaktel
