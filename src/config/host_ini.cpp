#include "config/host_ini.h"

#include <windows.h>

namespace kontaktel {

namespace {

std::wstring ReadProfileString(const std::wstring& ini, const wchar_t* section, const wchar_t* key,
                               size_t capacity) {
  if (ini.empty()) return {};
  std::wstring value(capacity, L'\0');
  const DWORD length = GetPrivateProfileStringW(section, key, L"", value.data(),
                                                static_cast<DWORD>(capacity), ini.c_str());
  value.resize(length);
  return value;
}

// The process's own environment block: the C runtime's copy (getenv) misses
// what the host set with SetEnvironmentVariable after the runtime started.
std::wstring EnvironmentValue(const wchar_t* name) {
  const DWORD needed = GetEnvironmentVariableW(name, nullptr, 0);
  if (needed == 0) return {};
  std::wstring value(needed, L'\0');
  const DWORD length = GetEnvironmentVariableW(name, value.data(), needed);
  value.resize(length < needed ? length : 0);
  return value;
}

}  // namespace

std::wstring HostMainIniPath(const std::wstring& namedIni) {
  if (std::wstring fromHost = EnvironmentValue(L"COMMANDER_INI"); !fromHost.empty())
    return fromHost;
  if (namedIni.empty()) return {};
  const size_t slash = namedIni.find_last_of(L"\\/");
  return (slash == std::wstring::npos ? std::wstring() : namedIni.substr(0, slash + 1)) +
         L"wincmd.ini";
}

std::wstring ReadHostKey(const std::wstring& namedIni, const wchar_t* section, const wchar_t* key,
                         size_t capacity) {
  std::wstring value = ReadProfileString(namedIni, section, key, capacity);
  if (value.empty()) value = ReadProfileString(HostMainIniPath(namedIni), section, key, capacity);
  return value;
}

std::wstring ReadHostBackColor(const std::wstring& namedIni) {
  std::wstring value = ReadHostKey(namedIni, L"Lister", L"BackColor", 64);
  if (value.empty()) value = ReadHostKey(namedIni, L"Colors", L"BackColor", 64);
  return value;
}

std::wstring ReadLanguageFile(const std::wstring& namedIni) {
  return ReadHostKey(namedIni, L"Configuration", L"LanguageIni", 260);
}

}  // namespace kontaktel
