// The one seam between the UI-free core and the operating system: code page
// conversion and character classes. Windows uses its own conversions; the
// native Linux build (tests under sanitizers, fuzzing, benchmarks) uses iconv.
#pragma once

#include <cstddef>
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

}  // namespace kontaktel
