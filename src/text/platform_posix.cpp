// Native stand-in for the Windows conversions, so that the core runs under the
// sanitizers, the fuzzer and the benchmarks. Exact code page behaviour is
// tested in the Windows build.
#include <errno.h>
#include <iconv.h>
#include <locale.h>
#include <wctype.h>

#include <climits>
#include <cwctype>
#include <cstdint>
#include <array>
#include <cstring>
#include <memory>
#include <vector>

#include "text/platform.h"
#include "text/utf8.h"

namespace kontaktel {

namespace {

const char* IconvName(unsigned codePage) {
  switch (codePage) {
    case kCodePageAnsi: return "CP1252";  // what Wine and a western Windows use
    case kCodePageOem: return "CP437";
    case 1250: return "CP1250";
    case 1251: return "CP1251";
    case 1252: return "CP1252";
    case 20866: return "KOI8-R";
    case 28591: return "ISO-8859-1";
    case 28592: return "ISO-8859-2";
    case 28595: return "ISO-8859-5";
    default: return nullptr;  // 1200 is refused, as by MultiByteToWideChar
  }
}

// Every code page but UTF-8 that the core uses is single-byte: its 256
// characters are read once from iconv into a table, one byte at a time (an
// unmapped byte becomes U+FFFD, as Windows does without flags).
class SingleByteTables {
 public:
  const std::array<wchar_t, 256>* Get(unsigned codePage) {
    for (const auto& [page, table] : tables_) {
      if (page == codePage) return table.get();
    }
    const char* name = IconvName(codePage);
    if (name == nullptr) return nullptr;
    iconv_t cd = iconv_open("WCHAR_T", name);
    if (cd == reinterpret_cast<iconv_t>(-1)) return nullptr;
    auto table = std::make_unique<std::array<wchar_t, 256>>();
    for (unsigned byte = 0; byte < 256; ++byte) {
      char in = static_cast<char>(byte);
      wchar_t out = 0;
      char* inPointer = &in;
      size_t inLeft = 1;
      char* outPointer = reinterpret_cast<char*>(&out);
      size_t outLeft = sizeof out;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
      const bool converted = iconv(cd, &inPointer, &inLeft, &outPointer, &outLeft) != static_cast<size_t>(-1) && outLeft == 0;
      (*table)[byte] = converted ? out : static_cast<wchar_t>(0xFFFD);
    }
    iconv_close(cd);
    tables_.emplace_back(codePage, std::move(table));
    return tables_.back().second.get();
  }

 private:
  std::vector<std::pair<unsigned, std::unique_ptr<std::array<wchar_t, 256>>>> tables_;
};

}  // namespace

std::wstring PlatformMultiByteToWide(const char* bytes, size_t length, unsigned codePage,
                                     bool failOnInvalid) {
  if (length == 0 || length > static_cast<size_t>(INT_MAX)) return {};
  if (codePage == kCodePageUtf8) {
    std::wstring text;
    if (!Utf8ToWide(bytes, length, failOnInvalid, text)) return {};
    return text;
  }
  thread_local SingleByteTables tables;
  const std::array<wchar_t, 256>* table = tables.Get(codePage);
  if (table == nullptr) return {};
  std::wstring text(length, L'\0');
  for (size_t i = 0; i < length; ++i) text[i] = (*table)[static_cast<unsigned char>(bytes[i])];
  return text;
}

namespace {

// The C locale classifies and maps ASCII only; C.UTF-8 has the Unicode tables.
locale_t Utf8Locale() {
  static const locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
  return utf8;
}

}  // namespace

bool PlatformLowerInvariant(std::wstring_view text, std::wstring& lower) {
  const size_t nul = text.find(L'\0');
  if (nul != std::wstring_view::npos) text = text.substr(0, nul);
  const locale_t utf8 = Utf8Locale();
  if (utf8 == static_cast<locale_t>(0)) return false;
  lower.assign(text);
  for (wchar_t& c : lower) c = static_cast<wchar_t>(towlower_l(static_cast<wint_t>(c), utf8));
  return true;
}

bool PlatformIsAlnum(wchar_t c) {
  const locale_t utf8 = Utf8Locale();
  if (utf8 == static_cast<locale_t>(0)) return std::iswalnum(static_cast<wint_t>(c)) != 0;
  return iswalnum_l(static_cast<wint_t>(c), utf8) != 0;
}

bool PlatformIsSpace(wchar_t c) {
  // The Unicode White_Space characters above U+00FF, which Windows' character
  // type table marks as space.
  switch (static_cast<uint32_t>(c)) {
    case 0x1680: case 0x2028: case 0x2029: case 0x202F: case 0x205F: case 0x3000:
      return true;
    default:
      return c >= 0x2000 && c <= 0x200A;
  }
}

}  // namespace kontaktel

#include <cstdio>
#include <memory>

namespace kontaktel {

bool PlatformReadFile(const wchar_t* path, size_t maxSize, std::string& bytes) {
  bytes.clear();
  if (path == nullptr) return false;
  const std::string name = WideToUtf8(path);
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(name.c_str(), "rb"), &std::fclose);
  if (!file || std::fseek(file.get(), 0, SEEK_END) != 0) return false;
  const long size = std::ftell(file.get());
  if (size < 0 || static_cast<unsigned long>(size) > maxSize) return false;
  if (std::fseek(file.get(), 0, SEEK_SET) != 0) return false;
  bytes.resize(static_cast<size_t>(size));
  if (std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
    bytes.clear();
    return false;
  }
  return true;
}

}  // namespace kontaktel
