#include "text/charset.h"

#include <array>

#include "text/platform.h"
#include "text/text_util.h"

namespace kontaktel {

namespace {

struct CharsetName {
  std::wstring_view name;
  unsigned codePage;
};

constexpr std::array kCharsets{
    CharsetName{L"UTF-8", 65001},       CharsetName{L"UTF8", 65001},
    CharsetName{L"UTF-16", 1200},       CharsetName{L"UTF16", 1200},
    CharsetName{L"UTF-16LE", 1200},     CharsetName{L"WINDOWS-1251", 1251},
    CharsetName{L"CP1251", 1251},       CharsetName{L"WIN-1251", 1251},
    CharsetName{L"WINDOWS-1252", 1252}, CharsetName{L"CP1252", 1252},
    CharsetName{L"WIN-1252", 1252},     CharsetName{L"WINDOWS-1250", 1250},
    CharsetName{L"CP1250", 1250},       CharsetName{L"WIN-1250", 1250},
    CharsetName{L"KOI8-R", 20866},      CharsetName{L"KOI8R", 20866},
    CharsetName{L"ISO-8859-5", 28595},  CharsetName{L"ISO8859-5", 28595},
    CharsetName{L"ISO-8859-1", 28591},  CharsetName{L"ISO8859-1", 28591},
    CharsetName{L"LATIN1", 28591},      CharsetName{L"ISO-8859-2", 28592},
    CharsetName{L"ISO8859-2", 28592},
};

}  // namespace

std::optional<unsigned> FindCharsetCodePage(std::wstring_view name) {
  // No table name is longer than this; longer input cannot match.
  if (name.size() > 16) return std::nullopt;
  const std::wstring upper = AsciiUpper(name);
  for (const CharsetName& entry : kCharsets) {
    if (entry.name == upper) return entry.codePage;
  }
  return std::nullopt;
}

unsigned CharsetToCodePage(std::wstring_view name) {
  return FindCharsetCodePage(name).value_or(kCodePageUtf8);
}

std::wstring BytesToTextWithFallback(const std::vector<uint8_t>& bytes, unsigned codePage) {
  if (bytes.empty()) return {};
  const auto* data = reinterpret_cast<const char*>(bytes.data());
  std::wstring text = PlatformMultiByteToWide(data, bytes.size(), codePage, true);
  if (!text.empty()) return text;
  // UTF-16 (code page 1200) never converts here, so those names land below too.
  text = PlatformMultiByteToWide(data, bytes.size(), kCodePageUtf8, true);
  if (!text.empty()) return text;
  text = PlatformMultiByteToWide(data, bytes.size(), 1251, false);
  if (!text.empty()) return text;
  return PlatformMultiByteToWide(data, bytes.size(), kCodePageUtf8, false);
}

bool IsSingleByteCodePage(unsigned codePage) {
  switch (codePage) {
    case 1250: case 1251: case 1252: case 20866: case 28591: case 28592: case 28595:
      return true;
    default:
      return false;
  }
}

}  // namespace kontaktel
