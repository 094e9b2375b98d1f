// Character-set names as vCard files write them in CHARSET parameters.
#pragma once

#include <optional>
#include <string_view>

namespace kontaktel {

// The code page of a known charset name (ASCII letters in any case, nothing
// trimmed, no quotes removed), or nothing for a name the table does not hold.
std::optional<unsigned> FindCharsetCodePage(std::wstring_view name);

// As FindCharsetCodePage, with UTF-8 for an unknown or empty name.
unsigned CharsetToCodePage(std::wstring_view name);

// True for the single-byte code pages that the charset table can name.
bool IsSingleByteCodePage(unsigned codePage);

}  // namespace kontaktel
