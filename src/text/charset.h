// Character-set names as vCard files write them in CHARSET parameters.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kontaktel {

// The code page of a known charset name (ASCII letters in any case, nothing
// trimmed, no quotes removed), or nothing for a name the table does not hold.
std::optional<unsigned> FindCharsetCodePage(std::wstring_view name);

// As FindCharsetCodePage, with UTF-8 for an unknown or empty name.
unsigned CharsetToCodePage(std::wstring_view name);

// True for the single-byte code pages that the charset table can name.
bool IsSingleByteCodePage(unsigned codePage);

// Decoded value bytes to text: in the named code page when they are valid
// there, else as UTF-8 when they are valid UTF-8, else as Windows-1251.
// Empty only for empty input or bytes that convert to nothing.
std::wstring BytesToTextWithFallback(const std::vector<uint8_t>& bytes, unsigned codePage);

}  // namespace kontaktel
