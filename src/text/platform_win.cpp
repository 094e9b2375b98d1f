#include <windows.h>

#include <algorithm>
#include <bitset>
#include <climits>
#include <cwctype>
#include <vector>

#include "text/platform.h"
#include "text/utf8.h"

namespace kontaktel {

std::wstring PlatformMultiByteToWide(const char* bytes, size_t length, unsigned codePage,
                                     bool failOnInvalid) {
  if (length == 0 || length > static_cast<size_t>(INT_MAX)) return {};
  if (codePage == kCodePageUtf8 && failOnInvalid) {
    // Strict UTF-8 is what nearly every file is. Our decoder accepts exactly
    // what MB_ERR_INVALID_CHARS accepts, in one pass instead of two.
    std::wstring text;
    if (!Utf8ToWide(bytes, length, true, text)) return {};
    return text;
  }
  const DWORD flags = (failOnInvalid && codePage == kCodePageUtf8) ? MB_ERR_INVALID_CHARS : 0;
  const int byteCount = static_cast<int>(length);
  const int needed = MultiByteToWideChar(codePage, flags, bytes, byteCount, nullptr, 0);
  if (needed <= 0) return {};
  std::wstring text(static_cast<size_t>(needed), L'\0');
  if (MultiByteToWideChar(codePage, flags, bytes, byteCount, text.data(), needed) <= 0) return {};
  return text;
}

bool PlatformLowerInvariant(std::wstring_view text, std::wstring& lower) {
  lower.clear();
  const size_t nul = text.find(L'\0');
  if (nul != std::wstring_view::npos) text = text.substr(0, nul);
  if (text.empty()) return true;
  if (text.size() > static_cast<size_t>(INT_MAX)) return false;
  const int length = static_cast<int>(text.size());
  const int needed =
      LCMapStringW(LOCALE_INVARIANT, LCMAP_LOWERCASE, text.data(), length, nullptr, 0);
  if (needed <= 0) return false;
  lower.resize(static_cast<size_t>(needed));
  if (LCMapStringW(LOCALE_INVARIANT, LCMAP_LOWERCASE, text.data(), length, lower.data(), needed) <=
      0) {
    lower.clear();
    return false;
  }
  return true;
}

bool PlatformIsAlnum(wchar_t c) {
  return std::iswalnum(static_cast<wint_t>(c)) != 0;
}

namespace {

bool IsSpaceByOneCall(wchar_t c) {
  WORD type = 0;
  return GetStringTypeW(CT_CTYPE1, &c, 1, &type) && (type & C1_SPACE) != 0;
}

// The class of every UTF-16 unit outside the surrogates, from two calls:
// trimming asks for the last character of every line, and in Cyrillic text
// that is a call into the system per line.
class SpaceTable {
 public:
  SpaceTable() {
    Fill(0x0000, 0xD800);
    Fill(0xE000, 0x10000);
  }
  bool IsSpace(wchar_t c) const {
    const unsigned unit = static_cast<unsigned>(c);
    if (unit >= 0xD800 && unit < 0xE000) return IsSpaceByOneCall(c);
    return space_[unit];
  }

 private:
  void Fill(unsigned begin, unsigned end) {
    std::vector<wchar_t> units(end - begin);
    for (unsigned unit = begin; unit < end; ++unit)
      units[unit - begin] = static_cast<wchar_t>(unit);
    std::vector<WORD> types(units.size());
    const bool classified =
        GetStringTypeW(CT_CTYPE1, units.data(), static_cast<int>(units.size()), types.data()) != 0;
    for (unsigned unit = begin; unit < end; ++unit) {
      space_[unit] = classified ? (types[unit - begin] & C1_SPACE) != 0
                                : IsSpaceByOneCall(static_cast<wchar_t>(unit));
    }
  }

  std::bitset<0x10000> space_;
};

}  // namespace

bool PlatformIsSpace(wchar_t c) {
  static const SpaceTable table;
  return table.IsSpace(c);
}

}  // namespace kontaktel

namespace kontaktel {

namespace {

struct FileHandle {
  HANDLE handle;
  explicit FileHandle(HANDLE h) : handle(h) {}
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  ~FileHandle() {
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  }
};

}  // namespace

bool PlatformReadFile(const wchar_t* path, size_t maxSize, std::string& bytes) {
  bytes.clear();
  if (path == nullptr) return false;
  // Another program (a phone sync tool, the host itself) may hold the file open.
  FileHandle file(CreateFileW(
      path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (file.handle == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.handle, &size) || size.QuadPart < 0 ||
      static_cast<unsigned long long>(size.QuadPart) > maxSize) {
    return false;
  }
  bytes.resize(static_cast<size_t>(size.QuadPart));
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD got = 0;
    const DWORD want = static_cast<DWORD>(bytes.size() - done);
    if (!ReadFile(file.handle, bytes.data() + done, want, &got, nullptr) || got == 0) {
      bytes.clear();
      return false;
    }
    done += got;
  }
  return true;
}

PlatformFile::~PlatformFile() { Close(); }

bool PlatformFile::Open(const wchar_t* path) {
  Close();
  if (path == nullptr) return false;
  const HANDLE file = CreateFileW(
      path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file, &size) || size.QuadPart < 0) {
    CloseHandle(file);
    return false;
  }
  handle_ = file;
  size_ = static_cast<uint64_t>(size.QuadPart);
  return true;
}

void PlatformFile::Close() {
  if (handle_ != nullptr) CloseHandle(static_cast<HANDLE>(handle_));
  handle_ = nullptr;
}

bool PlatformFile::Rewind() {
  LARGE_INTEGER zero{};
  return handle_ != nullptr &&
         SetFilePointerEx(static_cast<HANDLE>(handle_), zero, nullptr, FILE_BEGIN) != 0;
}

int64_t PlatformFile::Read(char* buffer, size_t count) {
  if (handle_ == nullptr) return -1;
  DWORD got = 0;
  const DWORD want = static_cast<DWORD>(std::min<size_t>(count, 1u << 30));
  if (!ReadFile(static_cast<HANDLE>(handle_), buffer, want, &got, nullptr)) return -1;
  return got;
}

}  // namespace kontaktel
