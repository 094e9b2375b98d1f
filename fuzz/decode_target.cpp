// The value decoders one by one. Input: a selector byte for the charset, then
// the value as UTF-16LE code units (as the Windows build holds text), or, when
// the selector's top bit is set, as UTF-8 (which reaches code points above
// U+FFFF in the native build).
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_targets.h"
#include "text/charset.h"
#include "text/text_util.h"
#include "text/utf8.h"
#include "vcard/property_line.h"
#include "vcard/value_decode.h"

namespace kontaktel::fuzz {

namespace {

constexpr std::array<std::wstring_view, 24> kCharsets{
    L"",          L"UTF-8",       L"utf8",       L"WINDOWS-1251", L"cp1252",
    L"KOI8-R",    L"ISO-8859-5",  L"iso-8859-1", L"ISO-8859-2",   L"UTF-16",
    L"LATIN1",    L"WIN-1250",    L"\"UTF-8\"",  L"x-unknown",    L"Shift_JIS",
    L"EUC-JP",    L"ISO-2022-JP", L"GB18030",    L"Big5",         L"EUC-KR",
    L"cp1253",    L"ISO-8859-10", L"US-ASCII",   L"MACINTOSH"};

std::wstring ValueText(const uint8_t* data, size_t size, bool utf8) {
  std::wstring text;
  if (utf8) {
    Utf8ToWide(reinterpret_cast<const char*>(data), size, false, text);
    return text;
  }
  text.reserve(size / 2);
  for (size_t i = 0; i + 1 < size; i += 2) {
    text.push_back(static_cast<wchar_t>(data[i] | data[i + 1] << 8));
  }
  return text;
}

}  // namespace

int FuzzDecode(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t selector = data[0];
  const std::wstring text = ValueText(data + 1, size - 1, (selector & 0x80) != 0);
  const std::wstring_view charset = kCharsets[(selector & 0x7F) % kCharsets.size()];

  const std::vector<uint8_t> quoted = DecodeQuotedPrintable(text);
  if (CharsetToCodePage(charset) == 0) Fail("no code page");
  BytesToTextWithFallback(quoted, CharsetToCodePage(charset));
  BytesToTextWithFallback(std::vector<uint8_t>(data + 1, data + size), CharsetToCodePage(charset));
  DecodeValue(text, true, charset);
  DecodeValue(text, false, charset);
  if (UnescapeText(text).size() > text.size()) Fail("unescaping grew the text");
  if (DecodeBase64(text).size() > kMaxPhotoBytes) Fail("photo above its bound");
  if (SplitEscaped(text).empty()) Fail("SplitEscaped gave no field");
  if (SplitFields(text, L';').empty()) Fail("SplitFields gave no field");
  AsciiUpper(StripQuotes(text));

  const std::wstring_view line = TrimSpace(text);
  PropertyLine property;
  if (!line.empty() && ParsePropertyLine(line, property)) {
    CollectTypes(property.params);
    if (property.rawPrefix.size() + 1 + property.value.size() != line.size()) Fail("line split");
  }
  StripGroup(AsciiUpper(text));
  return 0;
}

}  // namespace kontaktel::fuzz
