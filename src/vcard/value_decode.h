// Decoding property values: quoted-printable with a character set, backslash
// escapes, Base64 photo data, and the escape-aware split of custom fields.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kontaktel {

// Bounds on one embedded photo: longer Base64 text is refused before any work,
// and decoding never gives more bytes than this.
inline constexpr size_t kMaxBase64Chars = 11184872;
inline constexpr size_t kMaxPhotoBytes = 8388608;

// Without quoted-printable: the text without its trailing "=". With it: the
// bytes decoded in the CHARSET's code page, with trailing "=", tabs, line
// breaks and blanks removed. Bytes that are not UTF-8 under a CHARSET that
// names no page of the table (or under none) are read in `unnamedPage`, the
// page of the file they come from when it has one.
std::wstring DecodeValue(std::wstring_view text, bool quotedPrintable, std::wstring_view charset,
                         unsigned unnamedPage = 1251);

// The text of a quoted-printable value's bytes: the second half of DecodeValue.
std::wstring QuotedPrintableText(const std::vector<uint8_t>& bytes, std::wstring_view charset,
                                 unsigned unnamedPage = 1251);

// "=XX" becomes a byte; any other "=" stays, a final one is dropped. Characters
// above U+007F (already decoded text) enter as their UTF-8 bytes.
std::vector<uint8_t> DecodeQuotedPrintable(std::wstring_view text);

// \n \N \t \T \, \; \: \\ are undone; any other backslash stays as written.
std::wstring UnescapeText(std::wstring_view text);

// Standard-alphabet Base64, reading up to the first "=" and skipping anything
// outside the alphabet. Empty when the text or the result is over the limits.
std::vector<uint8_t> DecodeBase64(std::wstring_view text);

// DecodeBase64(text).size(), without decoding.
size_t Base64DecodedSize(std::wstring_view text);

// Splits at ";" that no backslash protects; a backslash keeps the character
// after it. Never empty: an empty text gives one empty field.
std::vector<std::wstring> SplitEscaped(std::wstring_view text);

}  // namespace kontaktel
