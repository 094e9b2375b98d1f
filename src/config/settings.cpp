#include "config/settings.h"

#include <windows.h>

#include <cwctype>
#include <string>

#include "plugin/plugin_globals.h"
#include "view/viewer_state.h"

namespace kontaktel {

namespace {

constexpr wchar_t kSection[] = L"Kontaktel";
bool uiIsRussian = false;

}  // namespace

bool UiIsRussian() { return uiIsRussian; }
void SetUiIsRussian(bool russian) { uiIsRussian = russian; }

void ReadViewerSettings(ViewerState* state) {
  if (state == nullptr) return;
  const std::wstring& ini = Globals().iniPath;
  if (ini.empty()) {
    state->listWidth = 0;
    state->loadPhotoUrl = false;
    return;
  }
  state->listWidth = static_cast<int>(GetPrivateProfileIntW(kSection, L"ListWidth", 0, ini.c_str()));
  state->loadPhotoUrl = GetPrivateProfileIntW(kSection, L"LoadPhotoUrl", 0, ini.c_str()) != 0;
}

bool ChooseUiLanguage() {
  const std::wstring& ini = Globals().iniPath;
  if (!ini.empty()) {
    wchar_t languageFile[260] = {};
    GetPrivateProfileStringW(L"Configuration", L"LanguageIni", L"", languageFile, 260, ini.c_str());
    std::wstring name(languageFile);
    if (!name.empty()) {
      for (wchar_t& c : name) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
      return name.find(L"rus") != std::wstring::npos;
    }
  }
  return (GetUserDefaultUILanguage() & 0x3FF) == LANG_RUSSIAN;
}

void WriteListWidth(int listWidth) {
  const std::wstring& ini = Globals().iniPath;
  if (listWidth < 1 || ini.empty()) return;
  WritePrivateProfileStringW(kSection, L"ListWidth", std::to_wstring(listWidth).c_str(), ini.c_str());
}

}  // namespace kontaktel
