#include "config/settings.h"

#include <windows.h>

namespace kontaktel {

namespace {

constexpr wchar_t kSection[] = L"Kontaktel";

std::wstring ReadString(const std::wstring& iniPath, const wchar_t* section, const wchar_t* key,
                        const wchar_t* fallback, size_t capacity) {
  if (iniPath.empty()) return fallback;
  std::wstring value(capacity, L'\0');
  const DWORD length = GetPrivateProfileStringW(section, key, fallback, value.data(),
                                                static_cast<DWORD>(capacity), iniPath.c_str());
  value.resize(length);
  return value;
}

}  // namespace

ViewerSettings ReadViewerSettings(const std::wstring& iniPath) {
  ViewerSettings settings;
  if (iniPath.empty()) return settings;
  settings.listWidth =
      static_cast<int>(GetPrivateProfileIntW(kSection, L"ListWidth", 0, iniPath.c_str()));
  settings.loadPhotoUrl = GetPrivateProfileIntW(kSection, L"LoadPhotoUrl", 0, iniPath.c_str()) != 0;
  return settings;
}

void WriteListWidth(const std::wstring& iniPath, int listWidth) {
  if (listWidth < 1 || iniPath.empty()) return;
  WritePrivateProfileStringW(kSection, L"ListWidth", std::to_wstring(listWidth).c_str(),
                             iniPath.c_str());
}

std::wstring ReadDarkSetting(const std::wstring& iniPath) {
  return ReadString(iniPath, kSection, L"Dark", L"2", 16);
}

}  // namespace kontaktel
