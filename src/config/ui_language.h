// The language of the user interface: English or Russian.
#pragma once

#include <string>
#include <string_view>

namespace kontaktel {

// True while the user interface speaks Russian; every localised text is chosen
// by it at the moment the text is produced.
bool UiIsRussian();

// Decides the language anew and stores it: Russian when the host's language
// file names a Russian one, else, without such a setting, when the user's
// Windows display language is Russian. The one place the language is chosen.
void UpdateUiLanguage(const std::wstring& iniPath);

// Whether a host language file is a Russian one: its file name (not the
// folders above it) holds "rus" in any case.
bool IsRussianLanguageFile(std::wstring_view path);

}  // namespace kontaktel
