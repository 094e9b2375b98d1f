// Steps of the load pipeline shared by the exported functions.
#pragma once

#include <windows.h>

#include <string>

namespace kontaktel {

// System ANSI code page to UTF-16; null, empty or unconvertible text gives "".
std::wstring AnsiToWide(const char* text);

// Takes the host's dark-mode request from its show flags, reloads colours and
// language, and re-themes and repaints the window when it is one.
void ApplyShowFlags(HWND window, int showFlags);

}  // namespace kontaktel
