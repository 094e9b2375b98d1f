// Turning a vCard file's bytes into UTF-16 text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kontaktel {

// Larger files are refused: 32 MiB holds tens of thousands of contacts.
inline constexpr size_t kMaxFileSize = 0x2000000;

// Bytes in a code page to wide text; `strict` (UTF-8 only) fails on any invalid
// sequence. Every failure is the empty string.
std::wstring BytesToText(const char* bytes, size_t length, unsigned codePage, bool strict);

// The whole file's bytes to text: byte-order marks, UTF-16 without a mark, strict
// UTF-8, the single-byte code page the file's own CHARSET parameters name, then
// Windows-1251. Line breaks stay as they are. Empty when nothing converts.
std::wstring DecodeFileText(std::string_view bytes);

// Reads the file (at most kMaxFileSize bytes) and decodes it with DecodeFileText.
// Every failure is the empty string.
std::wstring LoadFileText(const wchar_t* path);

}  // namespace kontaktel
