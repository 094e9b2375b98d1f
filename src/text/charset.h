// Character-set names as vCard files write them in CHARSET parameters.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kontaktel {

// Windows code pages the table names beyond the core's own (see platform.h).
inline constexpr unsigned kCodePageShiftJis = 932;
inline constexpr unsigned kCodePageEucJp = 20932;
inline constexpr unsigned kCodePageIso2022Jp = 50220;
inline constexpr unsigned kCodePageUsAscii = 20127;

// The code page of a known charset name (ASCII letters in any case, nothing
// trimmed, no quotes removed), or nothing for a name the table does not hold.
std::optional<unsigned> FindCharsetCodePage(std::wstring_view name);

// As FindCharsetCodePage, with UTF-8 for an unknown or empty name.
unsigned CharsetToCodePage(std::wstring_view name);

// True for the single-byte code pages that the charset table can name.
bool IsSingleByteCodePage(unsigned codePage);

// Bytes to text in a code page of the table (not strict). Where the platform
// lacks the page (Wine has no GB18030, ISO-2022-JP or ISO-8859-10, -14, -16),
// the nearest page it has reads the bytes instead: GBK for GB18030, EUC-JP for
// ISO-2022-JP (after undoing the escapes), Latin-1 or Latin-2 for the ISO
// pages. `usedCodePage`, when given, receives the page that read them. Empty
// when neither converts.
std::wstring BytesInCodePage(const char* bytes, size_t length, unsigned codePage,
                             unsigned* usedCodePage = nullptr);

// Decoded value bytes to text: in the named code page when they are valid
// there, else as UTF-8 when they are valid UTF-8, else in `lastPage` (a byte
// page of the table; Windows-1251 unless the caller knows better). Empty only
// for empty input or bytes that convert to nothing.
std::wstring BytesToTextWithFallback(const std::vector<uint8_t>& bytes, unsigned codePage,
                                     unsigned lastPage = 1251);

}  // namespace kontaktel
