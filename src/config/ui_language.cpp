#include "config/ui_language.h"

#include <windows.h>

#include <cwctype>

#include "config/host_ini.h"

namespace kontaktel {

namespace {

bool uiIsRussian = false;

}  // namespace

bool UiIsRussian() {
  return uiIsRussian;
}

bool IsRussianLanguageFile(std::wstring_view path) {
  // A folder such as D:\Trusted\ must not make the interface Russian.
  const size_t slash = path.find_last_of(L"\\/:");
  std::wstring name(slash == std::wstring_view::npos ? path : path.substr(slash + 1));
  for (wchar_t& c : name) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
  return name.find(L"rus") != std::wstring::npos;
}

void UpdateUiLanguage(const std::wstring& iniPath) {
  const std::wstring languageFile = ReadLanguageFile(iniPath);
  if (!languageFile.empty()) {
    uiIsRussian = IsRussianLanguageFile(languageFile);
    return;
  }
  uiIsRussian = PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_RUSSIAN;
}

}  // namespace kontaktel
