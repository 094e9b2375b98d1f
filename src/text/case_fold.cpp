#include "text/case_fold.h"

#include <cwctype>

#include "text/platform.h"

namespace kontaktel {

void LowerForMatch(std::wstring_view text, std::wstring& lower) {
  lower.clear();
  if (text.empty()) return;
  if (PlatformLowerInvariant(text, lower)) return;
  lower.assign(text);
  for (wchar_t& c : lower) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
}

std::wstring LowerForMatch(std::wstring_view text) {
  std::wstring lower;
  LowerForMatch(text, lower);
  return lower;
}

}  // namespace kontaktel
