// The one seam between the UI-free core and the operating system: code page
// conversion and character classes. Windows uses its own conversions; the
// native Linux build (tests under sanitizers, fuzzing, benchmarks) uses iconv.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kontaktel {

// Windows code page numbers used by the core.
inline constexpr unsigned kCodePageAnsi = 0;  // the system ANSI code page
inline constexpr unsigned kCodePageOem = 1;   // the system OEM code page
inline constexpr unsigned kCodePageUtf16 = 1200;
inline constexpr unsigned kCodePageUtf8 = 65001;

// Converts `length` bytes in `codePage` to wide text. With `failOnInvalid`
// (honoured for UTF-8 only) an invalid sequence fails the conversion; without it
// invalid bytes become replacement characters. Failure and an empty result are
// both the empty string. `length` must not exceed INT_MAX.
std::wstring PlatformMultiByteToWide(const char* bytes, size_t length, unsigned codePage,
                                     bool failOnInvalid);

// Lower case under the invariant locale, of the text up to its first NUL.
// False when the platform cannot map.
bool PlatformLowerInvariant(std::wstring_view text, std::wstring& lower);

// White space above U+00FF as the platform's character-type table marks it.
bool PlatformIsSpace(wchar_t c);

// Letters and digits as the C runtime's iswalnum sees them (all of Unicode,
// not the C locale's ASCII only).
bool PlatformIsAlnum(wchar_t c);

}  // namespace kontaktel

namespace kontaktel {

// Reads a whole file, opened for reading without locking out other readers or
// writers. Fails (false) when the file cannot be opened, its size is unknown or
// above `maxSize`, or the read comes up short.
bool PlatformReadFile(const wchar_t* path, size_t maxSize, std::string& bytes);

// A file open for reading with every sharing flag (read, write, delete): while
// it is open, others can still rename, move, delete or rewrite it. Closed when
// the object goes.
class PlatformFile {
 public:
  PlatformFile() = default;
  ~PlatformFile();
  PlatformFile(const PlatformFile&) = delete;
  PlatformFile& operator=(const PlatformFile&) = delete;

  // False when the file cannot be opened or its size is unknown.
  bool Open(const wchar_t* path);
  void Close();
  // Back to the first byte, to read the file again.
  bool Rewind();
  bool IsOpen() const { return handle_ != nullptr; }
  // The size when it was opened.
  uint64_t Size() const { return size_; }
  // Reads up to `count` bytes at the current position: how many were read,
  // 0 at the end, -1 on an error.
  int64_t Read(char* buffer, size_t count);

 private:
  void* handle_ = nullptr;
  uint64_t size_ = 0;
};

}  // namespace kontaktel
