// Turning a vCard file's bytes into UTF-16 text.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kontaktel {

// Larger files are declined. The set keeps the file's bytes, its text and the
// records: a 64-bit process has room for a gigabyte of export, a 32-bit host
// (2 GiB of address space, much of it the host's) for a quarter of that.
inline constexpr size_t kMaxFileSize = sizeof(void*) == 8 ? size_t{1} << 30 : size_t{256} << 20;

// Bytes in a code page to wide text; `strict` (UTF-8 only) fails on any invalid
// sequence. Every failure is the empty string.
std::wstring BytesToText(const char* bytes, size_t length, unsigned codePage, bool strict);

// A file's text and the code page it was read in: 65001 for UTF-8, 1200 and
// 1201 for UTF-16 little- and big-endian, else the Windows code page.
struct FileText {
  std::wstring text;
  unsigned codePage = 0;  // 0 when the text is empty
};

// The whole file's bytes to text: byte-order marks, UTF-16 without a mark, strict
// UTF-8, the code page the file's own CHARSET parameters agree on, then the
// single-byte page the bytes fit best (GuessSingleByteCodePage), Windows-1251
// when in doubt. Line breaks stay as they are. Empty when nothing converts.
FileText DecodeFileTextAndCodePage(std::string_view bytes);
std::wstring DecodeFileText(std::string_view bytes);

// How a file's start says it is read, as DecodeFileTextAndCodePage would read
// the whole: UTF-8 with a byte-order mark; UTF-8 for as long as its bytes stay
// strict UTF-8 (and are not ISO-2022-JP, see below); or another way, which
// needs the whole file. Nothing when the start is too short to tell and the
// file goes on (`wholeFile` false).
enum class FileStart { kUtf8Mark, kMaybeUtf8, kOther };
std::optional<FileStart> ClassifyFileStart(std::string_view start, bool wholeFile);

// Whether valid UTF-8 bytes are read as ISO-2022-JP instead: they hold an
// escape and the file's CHARSET parameters agree on that charset.
bool ReadsAsIso2022Jp(std::string_view bytes);

// Reads the file (at most kMaxFileSize bytes) and decodes it with DecodeFileText.
// Every failure is the empty text. The viewer reads files through CardLoad;
// this whole read serves the logical lines of kontaktel-dump and the tests.
FileText LoadFileTextAndCodePage(const wchar_t* path);
std::wstring LoadFileText(const wchar_t* path);

}  // namespace kontaktel
