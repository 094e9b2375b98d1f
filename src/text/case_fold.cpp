#include "text/case_fold.h"

#include <cwctype>

#include "text/platform.h"

namespace kontaktel {

std::wstring LowerForMatch(std::wstring_view text) {
  if (text.empty()) return {};
  std::wstring lower;
  if (PlatformLowerInvariant(text, lower)) return lower;
  lower.assign(text);
  for (wchar_t& c : lower) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
  return lower;
}

}  // namespace kontaktel
