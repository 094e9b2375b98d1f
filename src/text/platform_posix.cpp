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

// The glibc names of the Windows code pages that the charset table names.
const char* IconvName(unsigned codePage) {
  switch (codePage) {
    case kCodePageAnsi: return "CP1252";  // what Wine and a western Windows use
    case kCodePageOem: return "CP437";
    case 866: return "CP866";
    case 874: return "CP874";
    case 1250: return "CP1250";
    case 1251: return "CP1251";
    case 1252: return "CP1252";
    case 1253: return "CP1253";
    case 1254: return "CP1254";
    case 1255: return "CP1255";
    case 1256: return "CP1256";
    case 1257: return "CP1257";
    case 1258: return "CP1258";
    case 10000: return "MACINTOSH";
    case 20127: return "ASCII";
    case 20866: return "KOI8-R";
    case 21866: return "KOI8-U";
    case 28591: return "ISO-8859-1";
    case 28592: return "ISO-8859-2";
    case 28593: return "ISO-8859-3";
    case 28594: return "ISO-8859-4";
    case 28595: return "ISO-8859-5";
    case 28596: return "ISO-8859-6";
    case 28597: return "ISO-8859-7";
    case 28598: return "ISO-8859-8";
    case 28599: return "ISO-8859-9";
    case 28600: return "ISO-8859-10";
    case 28603: return "ISO-8859-13";
    case 28604: return "ISO-8859-14";
    case 28605: return "ISO-8859-15";
    case 28606: return "ISO-8859-16";
    default: return nullptr;  // 1200 is refused, as by MultiByteToWideChar
  }
}

const char* MultiByteIconvName(unsigned codePage) {
  switch (codePage) {
    case 932: return "CP932";
    case 936: return "CP936";
    case 949: return "CP949";
    case 950: return "CP950";
    case 20932: return "EUC-JP";
    case 50220: return "ISO-2022-JP";
    case 54936: return "GB18030";
    default: return nullptr;
  }
}

// A multi-byte page through iconv as a whole. An invalid or unmapped byte
// becomes U+FFFD and the conversion goes on after it, as Windows does without
// flags (Windows puts the page's own default character there).
std::wstring MultiByteToWide(const char* bytes, size_t length, const char* name) {
  iconv_t cd = iconv_open("WCHAR_T", name);
  if (cd == reinterpret_cast<iconv_t>(-1)) return {};
  std::unique_ptr<void, int (*)(iconv_t)> owner(cd, &iconv_close);
  std::wstring text(length + 1, L'\0');  // never more characters than bytes
  char* in = const_cast<char*>(bytes);
  size_t inLeft = length;
  size_t produced = 0;
  while (inLeft > 0) {
    char* out = reinterpret_cast<char*>(text.data() + produced);
    size_t outLeft = (text.size() - produced) * sizeof(wchar_t);
    const size_t result = iconv(cd, &in, &inLeft, &out, &outLeft);
    produced = text.size() - outLeft / sizeof(wchar_t);
    if (result != static_cast<size_t>(-1)) break;
    if (errno == E2BIG) {
      text.resize(text.size() * 2);
      continue;
    }
    // EILSEQ (no character here) or EINVAL (cut off at the end): one byte goes.
    if (produced == text.size()) text.resize(text.size() * 2);
    text[produced++] = static_cast<wchar_t>(0xFFFD);
    ++in;
    --inLeft;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  text.resize(produced);
  return text;
}

// Every single-byte code page: its 256
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
      bool converted = iconv(cd, &inPointer, &inLeft, &outPointer, &outLeft) != static_cast<size_t>(-1);
      // CP1258 holds a letter back for an accent that may follow; flush it.
      converted = converted && iconv(cd, nullptr, nullptr, &outPointer, &outLeft) != static_cast<size_t>(-1);
      converted = converted && outLeft == 0;
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
  if (const char* name = MultiByteIconvName(codePage)) return MultiByteToWide(bytes, length, name);
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

PlatformFile::~PlatformFile() { Close(); }

bool PlatformFile::Open(const wchar_t* path) {
  Close();
  if (path == nullptr) return false;
  FILE* file = std::fopen(WideToUtf8(path).c_str(), "rb");
  if (file == nullptr) return false;
  if (std::fseek(file, 0, SEEK_END) != 0) {
    std::fclose(file);
    return false;
  }
  const long size = std::ftell(file);
  if (size < 0 || std::fseek(file, 0, SEEK_SET) != 0) {
    std::fclose(file);
    return false;
  }
  handle_ = file;
  size_ = static_cast<uint64_t>(size);
  return true;
}

void PlatformFile::Close() {
  if (handle_ != nullptr) std::fclose(static_cast<FILE*>(handle_));
  handle_ = nullptr;
}

bool PlatformFile::Rewind() {
  return handle_ != nullptr && std::fseek(static_cast<FILE*>(handle_), 0, SEEK_SET) == 0;
}

int64_t PlatformFile::Read(char* buffer, size_t count) {
  if (handle_ == nullptr) return -1;
  FILE* file = static_cast<FILE*>(handle_);
  const size_t got = std::fread(buffer, 1, count, file);
  if (got == 0 && std::ferror(file)) return -1;
  return static_cast<int64_t>(got);
}

}  // namespace kontaktel
