#include "text/utf8.h"

namespace kontaktel {

namespace {

constexpr uint32_t kReplacement = 0xFFFD;

bool IsHighSurrogate(uint32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(uint32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

void AppendUtf8(std::string& out, uint32_t c) {
  if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = kReplacement;
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

std::string WideToUtf8(std::wstring_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    uint32_t c = static_cast<uint32_t>(text[i]);
    if (IsHighSurrogate(c) && i + 1 < text.size() &&
        IsLowSurrogate(static_cast<uint32_t>(text[i + 1]))) {
      c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<uint32_t>(text[i + 1]) - 0xDC00);
      ++i;
    }
    AppendUtf8(out, c);
  }
  return out;
}

bool Utf8ToWide(const char* bytes, size_t length, bool strict, std::wstring& out) {
  out.clear();
  return AppendUtf8ToWide(bytes, length, strict, out);
}

bool AppendUtf8ToWide(const char* bytes, size_t length, bool strict, std::wstring& out) {
  const auto* s = reinterpret_cast<const unsigned char*>(bytes);
  // Never more characters than bytes: size once, write through a pointer, trim.
  const size_t kept = out.size();
  out.resize(kept + length);
  wchar_t* const begin = out.data();
  wchar_t* w = begin + kept;
  auto put = [&](uint32_t codePoint) {
    if constexpr (sizeof(wchar_t) == 2) {
      if (codePoint >= 0x10000) {
        codePoint -= 0x10000;
        *w++ = static_cast<wchar_t>(0xD800 + (codePoint >> 10));
        *w++ = static_cast<wchar_t>(0xDC00 + (codePoint & 0x3FF));
        return;
      }
    }
    *w++ = static_cast<wchar_t>(codePoint);
  };
  size_t i = 0;
  while (i < length) {
    const unsigned char lead = s[i];
    if (lead < 0x80) {
      *w++ = static_cast<wchar_t>(lead);
      ++i;
      continue;
    }
    size_t count = 0;
    uint32_t c = 0;
    // The second byte's range rules out overlong forms, surrogates and values
    // beyond U+10FFFF at once.
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
      count = 1, c = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      count = 2, c = lead & 0x0F;
      if (lead == 0xE0) low = 0xA0;
      if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      count = 3, c = lead & 0x07;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;
    }
    size_t used = 1;
    bool valid = count > 0;
    for (size_t k = 0; valid && k < count; ++k) {
      const size_t at = i + 1 + k;
      if (at >= length) {
        valid = false;
        break;
      }
      const unsigned char b = s[at];
      if (b < (k == 0 ? low : 0x80) || b > (k == 0 ? high : 0xBF)) {
        valid = false;
        break;
      }
      c = (c << 6) | (b & 0x3F);
      ++used;
    }
    if (!valid) {
      if (strict) {
        out.resize(kept);
        return false;
      }
      put(kReplacement);
    } else {
      put(c);  // a four-byte sequence gives at most two units: never past `length`
    }
    i += used;
  }
  out.resize(static_cast<size_t>(w - begin));
  return true;
}

}  // namespace kontaktel
