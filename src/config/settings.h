// The plugin's keys in the INI file the host names (the host's own keys are
// in host_ini.h). An empty INI path means the host named none: nothing is
// read or written.
#pragma once

#include <string>

namespace kontaktel {

// Section "Kontaktel" as one viewer window uses it.
struct ViewerSettings {
  int listWidth = 0;  // 96-DPI pixels; below 1 means no width is stored
  bool loadPhotoUrl = false;
};

ViewerSettings ReadViewerSettings(const std::wstring& iniPath);

// Stores the list width (96-DPI pixels) after a splitter drag; nothing when
// the width is below 1 or the host has named no INI file.
void WriteListWidth(const std::wstring& iniPath, int listWidth);

// "Dark" of section "Kontaktel" as written ("2", following the host, when absent).
std::wstring ReadDarkSetting(const std::wstring& iniPath);

}  // namespace kontaktel
