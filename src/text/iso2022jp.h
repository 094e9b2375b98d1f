// ISO-2022-JP ("JIS"), the seven-bit Japanese of older mail and phones.
#pragma once

#include <string>
#include <string_view>

namespace kontaktel {

// The same characters as EUC-JP bytes (code page 20932): the escapes go, the
// two-byte JIS X 0208 and JIS X 0212 characters get their high bits, half-width
// katakana their 0x8E prefix. Wine converts EUC-JP but not ISO-2022-JP. Bytes
// outside a character (line breaks, an unknown escape) stay as they are.
std::string Iso2022JpToEucJp(std::string_view bytes);

}  // namespace kontaktel
