// UTF-8 encoding and decoding that needs no platform: the tools print through
// it, and the native build decodes UTF-8 with it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kontaktel {

// Encodes wide text as UTF-8. A surrogate pair in two consecutive units (as in
// UTF-16, and as the native build keeps UTF-16 files) becomes one code point;
// a lone surrogate or a value beyond U+10FFFF becomes U+FFFD.
std::string WideToUtf8(std::wstring_view text);

// Appends one code point as UTF-8.
void AppendUtf8(std::string& out, uint32_t codePoint);

// Decodes UTF-8 into code points, one wchar_t each when wchar_t is 32 bits and
// UTF-16 units otherwise. Strict: any invalid sequence (overlong form,
// surrogate, beyond U+10FFFF, truncated) fails with false. Lenient: each
// maximal invalid subpart becomes U+FFFD.
bool Utf8ToWide(const char* bytes, size_t length, bool strict, std::wstring& out);
// The same, appended to `out`; a strict failure leaves `out` as it was.
bool AppendUtf8ToWide(const char* bytes, size_t length, bool strict, std::wstring& out);

}  // namespace kontaktel
