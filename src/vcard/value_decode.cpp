#include "vcard/value_decode.h"

#include "text/charset.h"
#include "text/platform.h"
#include "text/utf8.h"

namespace kontaktel {

namespace {

int HexValue(uint8_t c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// The Base64 value of a character, or -1 for a character the decoder skips.
int Base64Value(wchar_t c) {
  if (c >= L'A' && c <= L'Z') return c - L'A';
  if (c >= L'a' && c <= L'z') return c - L'a' + 26;
  if (c >= L'0' && c <= L'9') return c - L'0' + 52;
  if (c == L'+') return 62;
  if (c == L'/') return 63;
  return -1;
}

bool IsHighSurrogate(wchar_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(wchar_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

// The characters of a quoted-printable value as bytes, appended. A surrogate
// pair is taken as the one character it encodes (as UTF-8 it is one four-byte
// sequence); a lone surrogate cannot be encoded and adds nothing.
void AppendQuotedPrintableBytes(std::wstring_view text, std::vector<uint8_t>& bytes) {
  std::string encoded;  // one character's UTF-8, short enough to stay inline
  for (size_t i = 0; i < text.size(); ++i) {
    const wchar_t c = text[i];
    uint32_t codePoint = static_cast<uint32_t>(c);
    if (codePoint <= 0x7F) {
      bytes.push_back(static_cast<uint8_t>(c));
      continue;
    }
    if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      codePoint =
          0x10000 + ((codePoint - 0xD800) << 10) + (static_cast<uint32_t>(text[i + 1]) - 0xDC00);
      ++i;
    } else if (IsHighSurrogate(c) || IsLowSurrogate(c) || codePoint > 0x10FFFF) {
      continue;
    }
    encoded.clear();
    AppendUtf8(encoded, codePoint);
    bytes.insert(bytes.end(), encoded.begin(), encoded.end());
  }
}

bool IsTrailingJunk(wchar_t c) {
  return c == L'=' || c == L'\t' || c == L'\n' || c == L'\r' || c == L' ';
}

}  // namespace

std::wstring DecodeValue(std::wstring_view text, bool quotedPrintable, std::wstring_view charset,
                         unsigned unnamedPage) {
  if (!quotedPrintable) {
    size_t end = text.size();
    while (end > 0 && text[end - 1] == L'=') --end;
    return std::wstring(text.substr(0, end));
  }
  return QuotedPrintableText(DecodeQuotedPrintable(text), charset, unnamedPage);
}

std::wstring QuotedPrintableText(const std::vector<uint8_t>& bytes, std::wstring_view charset,
                                 unsigned unnamedPage) {
  const std::optional<unsigned> named = FindCharsetCodePage(charset);
  std::wstring decoded = named ? BytesToTextWithFallback(bytes, *named)
                               : BytesToTextWithFallback(bytes, kCodePageUtf8, unnamedPage);
  size_t end = decoded.size();
  while (end > 0 && IsTrailingJunk(decoded[end - 1])) --end;
  decoded.resize(end);
  return decoded;
}

std::vector<uint8_t> DecodeQuotedPrintable(std::wstring_view text) {
  // The bytes are decoded where they stand: the decoded form is never longer.
  std::vector<uint8_t> bytes;
  bytes.reserve(text.size());
  AppendQuotedPrintableBytes(text, bytes);
  size_t out = 0;
  for (size_t i = 0; i < bytes.size(); ++i) {
    const uint8_t c = bytes[i];
    if (c != '=') {
      bytes[out++] = c;
      continue;
    }
    if (i + 1 == bytes.size()) break;
    const int high = i + 2 < bytes.size() ? HexValue(bytes[i + 1]) : -1;
    const int low = high >= 0 ? HexValue(bytes[i + 2]) : -1;
    if (low < 0) {
      bytes[out++] = c;
      continue;
    }
    bytes[out++] = static_cast<uint8_t>(high << 4 | low);
    i += 2;
  }
  bytes.resize(out);
  return bytes;
}

std::wstring UnescapeText(std::wstring_view text) {
  std::wstring result;
  result.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const wchar_t c = text[i];
    if (c != L'\\' || i + 1 == text.size()) {
      result.push_back(c);
      continue;
    }
    switch (text[i + 1]) {
      // clang-format off
      case L'n': case L'N': result.push_back(L'\n'); break;
      case L't': case L'T': result.push_back(L'\t'); break;
      case L',': case L';': case L':': case L'\\': result.push_back(text[i + 1]); break;
      default: result.push_back(c); continue;  // the next character is read normally
      // clang-format on
    }
    ++i;
  }
  return result;
}

namespace {

// The text up to its first "=", and how many of its characters are decoded.
size_t Base64Kept(std::wstring_view& text) {
  const size_t stop = text.find(L'=');
  if (stop != std::wstring_view::npos) text = text.substr(0, stop);
  size_t kept = 0;
  for (const wchar_t c : text) kept += Base64Value(c) >= 0;
  if (kept % 4 == 1) --kept;  // a lone last character holds no whole byte
  return kept;
}

}  // namespace

size_t Base64DecodedSize(std::wstring_view text) {
  if (text.size() > kMaxBase64Chars) return 0;
  const size_t outputSize = Base64Kept(text) * 6 / 8;
  return outputSize > kMaxPhotoBytes ? 0 : outputSize;
}

std::vector<uint8_t> DecodeBase64(std::wstring_view text) {
  if (text.size() > kMaxBase64Chars) return {};
  const size_t kept = Base64Kept(text);
  const size_t outputSize = kept * 6 / 8;
  if (outputSize > kMaxPhotoBytes) return {};
  std::vector<uint8_t> bytes;
  bytes.reserve(outputSize);
  uint32_t bits = 0;
  int bitCount = 0;
  size_t used = 0;
  for (const wchar_t c : text) {
    if (used == kept) break;
    const int value = Base64Value(c);
    if (value < 0) continue;
    ++used;
    bits = (bits << 6) | static_cast<uint32_t>(value);
    bitCount += 6;
    if (bitCount >= 8) {
      bitCount -= 8;
      bytes.push_back(static_cast<uint8_t>(bits >> bitCount));
      bits &= (1u << bitCount) - 1;
    }
  }
  return bytes;
}

std::vector<std::wstring> SplitEscaped(std::wstring_view text) {
  std::vector<std::wstring> fields(1);
  for (size_t i = 0; i < text.size(); ++i) {
    const wchar_t c = text[i];
    if (c == L'\\' && i + 1 < text.size()) {
      fields.back().push_back(text[++i]);
    } else if (c == L';') {
      fields.emplace_back();
    } else {
      fields.back().push_back(c);
    }
  }
  return fields;
}

}  // namespace kontaktel
