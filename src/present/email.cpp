#include "present/email.h"

#include "text/platform.h"
#include "text/text_util.h"

namespace kontaktel {

namespace {

constexpr std::wstring_view kMailto = L"MAILTO:";

bool IsAddressChar(wchar_t c) {
  return c == L'+' || c == L'-' || c == L'.' || c == L'_' || PlatformIsAlnum(c);
}

// Only ASCII letters can spell the scheme, so an ASCII comparison is enough.
bool IsMailtoUrl(std::wstring_view url) {
  return url.size() > kMailto.size() && AsciiUpper(url.substr(0, kMailto.size())) == kMailto;
}

}  // namespace

std::wstring ExtractEmailAddress(std::wstring_view text) {
  const size_t at = text.find(L'@');
  if (at == std::wstring_view::npos) return {};
  size_t begin = at;
  while (begin > 0 && IsAddressChar(text[begin - 1])) --begin;
  size_t end = at + 1;
  while (end < text.size() && IsAddressChar(text[end])) ++end;
  if (begin == at || end == at + 1) return {};
  return std::wstring(text.substr(begin, end - begin));
}

std::wstring FallbackEmail(const Card& card) {
  const std::wstring_view url = card.url();
  if (IsMailtoUrl(url)) {
    // Whatever the mailto: URL holds is the answer, even nothing before its query.
    const std::wstring_view address = url.substr(kMailto.size());
    return std::wstring(address.substr(0, address.find(L'?')));
  }
  if (std::wstring found = ExtractEmailAddress(url); !found.empty()) return found;
  if (std::wstring found = ExtractEmailAddress(card.note()); !found.empty()) return found;
  for (const std::wstring_view note : card.notes()) {
    if (std::wstring found = ExtractEmailAddress(note); !found.empty()) return found;
  }
  return {};
}

}  // namespace kontaktel
