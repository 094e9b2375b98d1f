// The host's own keys. The file manager names, through ListSetDefaultParams,
// the plugins' shared INI file; its own settings ([Configuration] LanguageIni,
// the viewer's colours) live in its main INI beside it, whose full path it
// puts into its environment as COMMANDER_INI.
#pragma once

#include <string>

namespace kontaktel {

// The host's main INI: COMMANDER_INI from the process environment (also when
// the host named no INI), else wincmd.ini in the folder of the INI it named;
// empty when neither is known.
std::wstring HostMainIniPath(const std::wstring& namedIni);

// A host key from the INI the host named, else, when it is absent or empty
// there, from the host's main INI. At most `capacity` - 1 characters.
std::wstring ReadHostKey(const std::wstring& namedIni, const wchar_t* section, const wchar_t* key,
                         size_t capacity);

// The host's viewer background: [Lister] BackColor, else [Colors] BackColor.
std::wstring ReadHostBackColor(const std::wstring& namedIni);

// The host's language file, [Configuration] LanguageIni.
std::wstring ReadLanguageFile(const std::wstring& namedIni);

}  // namespace kontaktel
