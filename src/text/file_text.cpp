#include "text/file_text.h"

#include <cstring>
#include <optional>

#include "text/charset.h"
#include "text/code_page_guess.h"
#include "text/platform.h"

namespace kontaktel {

namespace {

// Code units exactly as they stand; a trailing odd byte is dropped.
std::wstring DecodeUtf16(std::string_view bytes, bool bigEndian) {
  std::wstring text(bytes.size() / 2, L'\0');
  const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned first = s[2 * i], second = s[2 * i + 1];
    text[i] = static_cast<wchar_t>(bigEndian ? (first << 8 | second) : (second << 8 | first));
  }
  return text;
}

// Exports from some Windows programs are UTF-16 without a byte-order mark. A
// vCard file starts with BEGIN, so BEGIN as the first non-blank UTF-16 units
// (every other byte zero) tells the byte order. Nothing when the bytes end
// before that is decided.
std::optional<bool> Utf16Begins(std::string_view bytes, bool bigEndian) {
  const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
  const size_t units = bytes.size() / 2;
  size_t i = 0;
  auto unitAt = [&](size_t k) {
    const unsigned first = s[2 * k], second = s[2 * k + 1];
    return bigEndian ? (first << 8 | second) : (second << 8 | first);
  };
  while (i < units && (unitAt(i) == 0x20 || (unitAt(i) >= 0x09 && unitAt(i) <= 0x0D))) ++i;
  constexpr char kBegin[] = "BEGIN";
  for (size_t k = 0; k < 5; ++k, ++i) {
    if (i >= units) return std::nullopt;
    unsigned c = unitAt(i);
    if (c >= 'a' && c <= 'z') c -= 'a' - 'A';
    if (c != static_cast<unsigned char>(kBegin[k])) return false;
  }
  return true;
}

bool StartsWithUtf16Begin(std::string_view bytes, bool bigEndian) {
  return Utf16Begins(bytes, bigEndian).value_or(false);
}

// Names that say nothing about the file's high bytes: UTF-8 (the file is not),
// UTF-16 (not a byte code page) and US-ASCII (the file has bytes beyond it).
bool NamesFileCodePage(unsigned codePage) {
  return codePage != kCodePageUtf8 && codePage != kCodePageUtf16 && codePage != kCodePageUsAscii;
}

// The code page that every CHARSET parameter of the file naming one agrees on,
// or nothing when none names one or they disagree.
std::optional<unsigned> CharsetNamedByFile(std::string_view bytes) {
  constexpr std::string_view kKey = "CHARSET=";
  // No charset name of the table, quotes included, is longer than this.
  constexpr size_t kLongestName = 32;
  std::optional<unsigned> agreed;
  size_t at = 0;
  while ((at = bytes.find(';', at)) != std::string_view::npos) {
    ++at;
    if (bytes.size() - at < kKey.size()) break;
    bool isKey = true;
    for (size_t k = 0; k < kKey.size() && isKey; ++k) {
      char c = bytes[at + k];
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - ('a' - 'A'));
      isKey = c == kKey[k];
    }
    if (!isKey) continue;
    const size_t nameStart = at + kKey.size();
    const size_t nameEnd = bytes.find_first_of(";:", nameStart);
    if (nameEnd == std::string_view::npos || nameEnd - nameStart > kLongestName) continue;
    std::wstring name(bytes.begin() + static_cast<std::ptrdiff_t>(nameStart),
                      bytes.begin() + static_cast<std::ptrdiff_t>(nameEnd));
    if (name.size() >= 2 && name.front() == L'"' && name.back() == L'"') {
      name = name.substr(1, name.size() - 2);
    }
    const std::optional<unsigned> codePage = FindCharsetCodePage(name);
    if (!codePage || !NamesFileCodePage(*codePage)) continue;
    if (agreed && *agreed != *codePage) return std::nullopt;
    agreed = codePage;
  }
  return agreed;
}

// Some exporters fold lines every 75 bytes and cut a UTF-8 character in two,
// which makes the whole file invalid UTF-8 and would send it to a single-byte
// code page. The fold (a run of line breaks and one blank) goes at unfolding
// anyway: taken out from inside the characters, the bytes are UTF-8 again.
// Nothing when no fold stands inside a character.
std::optional<std::string> JoinFoldsInsideCharacters(std::string_view bytes) {
  const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
  const size_t size = bytes.size();
  std::string joined;
  bool spliced = false;
  size_t copiedUpTo = 0;  // bytes before this index are in `joined` or cut out
  size_t i = 0;
  while (i < size) {
    const unsigned char lead = s[i++];
    int missing = 0;  // continuation bytes the lead byte asks for
    if (lead >= 0xC2 && lead <= 0xDF) missing = 1;
    if (lead >= 0xE0 && lead <= 0xEF) missing = 2;
    if (lead >= 0xF0 && lead <= 0xF4) missing = 3;
    while (missing > 0 && i < size) {
      if ((s[i] & 0xC0) == 0x80) {
        ++i, --missing;
        continue;
      }
      size_t next = i;
      while (next < size && (s[next] == '\r' || s[next] == '\n')) ++next;
      const bool fold = next > i && next + 1 < size && (s[next] == ' ' || s[next] == '\t') &&
                        (s[next + 1] & 0xC0) == 0x80;
      if (!fold) break;
      joined.append(bytes.substr(copiedUpTo, i - copiedUpTo));
      copiedUpTo = i = next + 1;
      spliced = true;
    }
  }
  if (!spliced) return std::nullopt;
  joined.append(bytes.substr(copiedUpTo));
  return joined;
}

}  // namespace

std::wstring BytesToText(const char* bytes, size_t length, unsigned codePage, bool strict) {
  return PlatformMultiByteToWide(bytes, length, codePage, strict);
}

FileText DecodeFileTextAndCodePage(std::string_view bytes) {
  const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
  const size_t size = bytes.size();
  if (size == 0) return {};
  auto read = [](std::wstring text, unsigned codePage) {
    return text.empty() ? FileText{} : FileText{std::move(text), codePage};
  };
  constexpr unsigned kUtf16BigEndian = 1201;
  if (size >= 2 && s[0] == 0xFF && s[1] == 0xFE) {
    return read(DecodeUtf16(bytes.substr(2), false), kCodePageUtf16);
  }
  if (size >= 2 && s[0] == 0xFE && s[1] == 0xFF) {
    return read(DecodeUtf16(bytes.substr(2), true), kUtf16BigEndian);
  }
  if (size >= 3 && s[0] == 0xEF && s[1] == 0xBB && s[2] == 0xBF) {
    // A file that says it is UTF-8 and is not gets no second guess.
    return read(BytesToText(bytes.data() + 3, size - 3, kCodePageUtf8, true), kCodePageUtf8);
  }
  if (StartsWithUtf16Begin(bytes, false)) return read(DecodeUtf16(bytes, false), kCodePageUtf16);
  if (StartsWithUtf16Begin(bytes, true)) return read(DecodeUtf16(bytes, true), kUtf16BigEndian);

  unsigned used = 0;
  std::wstring text = BytesToText(bytes.data(), size, kCodePageUtf8, true);
  if (!text.empty()) {
    // ISO-2022-JP is seven-bit, so valid UTF-8: its escapes give it away.
    if (ReadsAsIso2022Jp(bytes)) {
      std::wstring japanese = BytesInCodePage(bytes.data(), size, kCodePageIso2022Jp, &used);
      if (!japanese.empty()) return {std::move(japanese), used};
    }
    return {std::move(text), kCodePageUtf8};
  }
  if (const std::optional<std::string> joined = JoinFoldsInsideCharacters(bytes)) {
    text = BytesToText(joined->data(), joined->size(), kCodePageUtf8, true);
    if (!text.empty()) return {std::move(text), kCodePageUtf8};
  }
  if (const std::optional<unsigned> named = CharsetNamedByFile(bytes)) {
    text = BytesInCodePage(bytes.data(), size, *named, &used);
    if (!text.empty()) return {std::move(text), used};
  }
  const unsigned guessed = GuessSingleByteCodePage(bytes);
  for (const unsigned codePage : {guessed, 1251u, kCodePageOem, kCodePageAnsi}) {
    text = BytesToText(bytes.data(), size, codePage, false);
    if (!text.empty()) return {std::move(text), codePage};
  }
  return read(BytesToText(bytes.data(), size, kCodePageUtf8, false), kCodePageUtf8);
}

std::wstring DecodeFileText(std::string_view bytes) {
  return DecodeFileTextAndCodePage(bytes).text;
}

std::optional<FileStart> ClassifyFileStart(std::string_view start, bool wholeFile) {
  const auto* s = reinterpret_cast<const unsigned char*>(start.data());
  const size_t size = start.size();
  if (size >= 2 && ((s[0] == 0xFF && s[1] == 0xFE) || (s[0] == 0xFE && s[1] == 0xFF)))
    return FileStart::kOther;
  if (size >= 3 && s[0] == 0xEF && s[1] == 0xBB && s[2] == 0xBF) return FileStart::kUtf8Mark;
  const std::optional<bool> little = Utf16Begins(start, false), big = Utf16Begins(start, true);
  if (little.value_or(false) || big.value_or(false)) return FileStart::kOther;
  if (!wholeFile && (size < 3 || !little || !big)) return std::nullopt;
  // The complete lines of the start; the last one may end inside a character.
  const size_t lineEnd = start.find_last_of("\r\n");
  const size_t whole = lineEnd == std::string_view::npos ? 0 : lineEnd + 1;
  if (whole != 0 && BytesToText(start.data(), whole, kCodePageUtf8, true).empty())
    return FileStart::kOther;
  return FileStart::kMaybeUtf8;
}

bool ReadsAsIso2022Jp(std::string_view bytes) {
  return bytes.find('\x1B') != std::string_view::npos &&
         CharsetNamedByFile(bytes) == kCodePageIso2022Jp;
}

FileText LoadFileTextAndCodePage(const wchar_t* path) {
  std::string bytes;
  if (!PlatformReadFile(path, kMaxFileSize, bytes)) return {};
  return DecodeFileTextAndCodePage(bytes);
}

std::wstring LoadFileText(const wchar_t* path) {
  return LoadFileTextAndCodePage(path).text;
}

}  // namespace kontaktel
