#include "text/charset.h"

#include <array>

#include "text/iso2022jp.h"
#include "text/platform.h"
#include "text/text_util.h"

namespace kontaktel {

namespace {

struct CharsetName {
  std::wstring_view name;
  unsigned codePage;
};

// Names as exporters write them (after upper-casing), each to the Windows code
// page of the same characters. The national multi-byte names go to Windows'
// supersets of them: EUC-KR to 949, GB2312 to 936, ISO-8859-11 to 874.
constexpr std::array kCharsets{
    CharsetName{L"UTF-8", 65001},
    CharsetName{L"UTF8", 65001},
    CharsetName{L"UTF-16", 1200},
    CharsetName{L"UTF16", 1200},
    CharsetName{L"UTF-16LE", 1200},
    CharsetName{L"WINDOWS-1251", 1251},
    CharsetName{L"CP1251", 1251},
    CharsetName{L"WIN-1251", 1251},
    CharsetName{L"WINDOWS-1252", 1252},
    CharsetName{L"CP1252", 1252},
    CharsetName{L"WIN-1252", 1252},
    CharsetName{L"WINDOWS-1250", 1250},
    CharsetName{L"CP1250", 1250},
    CharsetName{L"WIN-1250", 1250},
    CharsetName{L"KOI8-R", 20866},
    CharsetName{L"KOI8R", 20866},
    CharsetName{L"ISO-8859-5", 28595},
    CharsetName{L"ISO8859-5", 28595},
    CharsetName{L"ISO-8859-1", 28591},
    CharsetName{L"ISO8859-1", 28591},
    CharsetName{L"LATIN1", 28591},
    CharsetName{L"ISO-8859-2", 28592},
    CharsetName{L"ISO8859-2", 28592},
    // Japanese: phones write Shift_JIS under many names, older mail EUC-JP or JIS.
    CharsetName{L"SHIFT_JIS", 932},
    CharsetName{L"SHIFT-JIS", 932},
    CharsetName{L"SJIS", 932},
    CharsetName{L"X-SJIS", 932},
    CharsetName{L"MS_KANJI", 932},
    CharsetName{L"CP932", 932},
    CharsetName{L"WINDOWS-31J", 932},
    CharsetName{L"EUC-JP", 20932},
    CharsetName{L"EUCJP", 20932},
    CharsetName{L"ISO-2022-JP", 50220},
    // Chinese and Korean.
    CharsetName{L"GB2312", 936},
    CharsetName{L"GBK", 936},
    CharsetName{L"CP936", 936},
    CharsetName{L"GB18030", 54936},
    CharsetName{L"BIG5", 950},
    CharsetName{L"BIG-5", 950},
    CharsetName{L"CP950", 950},
    CharsetName{L"EUC-KR", 949},
    CharsetName{L"KS_C_5601-1987", 949},
    CharsetName{L"CP949", 949},
    // The other Windows pages: Greek, Turkish, Hebrew, Arabic, Baltic, Vietnamese.
    CharsetName{L"WINDOWS-1253", 1253},
    CharsetName{L"CP1253", 1253},
    CharsetName{L"WIN-1253", 1253},
    CharsetName{L"WINDOWS-1254", 1254},
    CharsetName{L"CP1254", 1254},
    CharsetName{L"WIN-1254", 1254},
    CharsetName{L"WINDOWS-1255", 1255},
    CharsetName{L"CP1255", 1255},
    CharsetName{L"WIN-1255", 1255},
    CharsetName{L"WINDOWS-1256", 1256},
    CharsetName{L"CP1256", 1256},
    CharsetName{L"WIN-1256", 1256},
    CharsetName{L"WINDOWS-1257", 1257},
    CharsetName{L"CP1257", 1257},
    CharsetName{L"WIN-1257", 1257},
    CharsetName{L"WINDOWS-1258", 1258},
    CharsetName{L"CP1258", 1258},
    CharsetName{L"WIN-1258", 1258},
    // The ISO pages; ISO-8859-12 was never published.
    CharsetName{L"ISO-8859-3", 28593},
    CharsetName{L"ISO8859-3", 28593},
    CharsetName{L"ISO-8859-4", 28594},
    CharsetName{L"ISO8859-4", 28594},
    CharsetName{L"ISO-8859-6", 28596},
    CharsetName{L"ISO8859-6", 28596},
    CharsetName{L"ISO-8859-7", 28597},
    CharsetName{L"ISO8859-7", 28597},
    CharsetName{L"ISO-8859-8", 28598},
    CharsetName{L"ISO8859-8", 28598},
    CharsetName{L"ISO-8859-9", 28599},
    CharsetName{L"ISO8859-9", 28599},
    CharsetName{L"ISO-8859-10", 28600},
    CharsetName{L"ISO8859-10", 28600},
    CharsetName{L"ISO-8859-11", 874},
    CharsetName{L"ISO8859-11", 874},
    CharsetName{L"ISO-8859-13", 28603},
    CharsetName{L"ISO8859-13", 28603},
    CharsetName{L"ISO-8859-14", 28604},
    CharsetName{L"ISO8859-14", 28604},
    CharsetName{L"ISO-8859-15", 28605},
    CharsetName{L"ISO8859-15", 28605},
    CharsetName{L"ISO-8859-16", 28606},
    CharsetName{L"ISO8859-16", 28606},
    // Cyrillic beyond Russian, DOS, and the classic Macintosh.
    CharsetName{L"KOI8-U", 21866},
    CharsetName{L"KOI8U", 21866},
    CharsetName{L"IBM866", 866},
    CharsetName{L"CP866", 866},
    CharsetName{L"MACINTOSH", 10000},
    CharsetName{L"US-ASCII", 20127},
    CharsetName{L"ASCII", 20127},
};

// The page that reads the bytes where the platform lacks `codePage`, or 0.
unsigned SubstitutePage(unsigned codePage) {
  switch (codePage) {
    case 54936: return 936;      // GBK is GB18030 without its four-byte forms
    case 28600: return 28591;    // Nordic letters mostly where Latin-1 has them
    case 28604: return 28591;    // Celtic: Latin-1 but for a few letters
    case 28606: return 28592;    // Romanian: Latin-2 but for the comma accents
    default: return 0;
  }
}

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

std::wstring BytesInCodePage(const char* bytes, size_t length, unsigned codePage,
                             unsigned* usedCodePage) {
  std::wstring text = PlatformMultiByteToWide(bytes, length, codePage, false);
  unsigned used = codePage;
  if (text.empty() && codePage == kCodePageIso2022Jp) {
    // Without the escapes ISO-2022-JP is EUC-JP with the high bits cleared.
    const std::string euc = Iso2022JpToEucJp(std::string_view(bytes, length));
    text = PlatformMultiByteToWide(euc.data(), euc.size(), kCodePageEucJp, false);
    used = kCodePageEucJp;
  } else if (text.empty() && SubstitutePage(codePage) != 0) {
    used = SubstitutePage(codePage);
    text = PlatformMultiByteToWide(bytes, length, used, false);
  }
  if (usedCodePage != nullptr) *usedCodePage = text.empty() ? 0 : used;
  return text;
}

std::wstring BytesToTextWithFallback(const std::vector<uint8_t>& bytes, unsigned codePage,
                                     unsigned lastPage) {
  if (bytes.empty()) return {};
  const auto* data = reinterpret_cast<const char*>(bytes.data());
  std::wstring text = codePage == kCodePageUtf8
                          ? PlatformMultiByteToWide(data, bytes.size(), codePage, true)
                          : BytesInCodePage(data, bytes.size(), codePage);
  if (!text.empty()) return text;
  // UTF-16 (code page 1200) never converts here, so those names land below too.
  text = PlatformMultiByteToWide(data, bytes.size(), kCodePageUtf8, true);
  if (!text.empty()) return text;
  if (lastPage != kCodePageUtf8 && lastPage != kCodePageUtf16) {
    text = BytesInCodePage(data, bytes.size(), lastPage);
    if (!text.empty()) return text;
  }
  text = PlatformMultiByteToWide(data, bytes.size(), 1251, false);
  if (!text.empty()) return text;
  return PlatformMultiByteToWide(data, bytes.size(), kCodePageUtf8, false);
}

bool IsSingleByteCodePage(unsigned codePage) {
  switch (codePage) {
    case 866: case 874: case 1250: case 1251: case 1252: case 1253: case 1254: case 1255:
    case 1256: case 1257: case 1258: case 10000: case 20127: case 20866: case 21866:
    case 28591: case 28592: case 28593: case 28594: case 28595: case 28596: case 28597:
    case 28598: case 28599: case 28600: case 28603: case 28604: case 28605: case 28606:
      return true;
    default:
      return false;
  }
}

}  // namespace kontaktel
