#include "view/palette_choice.h"

#include <cstdio>
#include <cwchar>
#include <string>

namespace kontaktel {

bool IsDarkColorText(std::wstring_view text) {
  if (text.empty()) return false;
  const std::wstring value(text);
  int red = 0, green = 0, blue = 0;
  if (std::swscanf(value.c_str(), L"%d,%d,%d", &red, &green, &blue) != 3) {
    const long number = std::wcstol(value.c_str(), nullptr, 10);
    if (number == 0 && value[0] != L'0') return false;  // not a colour
    red = static_cast<int>(number & 0xFF);
    green = static_cast<int>((number >> 8) & 0xFF);
    blue = static_cast<int>((number >> 16) & 0xFF);
  }
  return 0.299 * red + 0.587 * green + 0.114 * blue < 128.0;
}

bool ChooseDarkPalette(std::wstring_view darkSetting, int hostDark,
                       std::wstring_view hostBackColor) {
  if (!darkSetting.empty() && darkSetting[0] == L'0') return false;
  if (!darkSetting.empty() && darkSetting[0] == L'1') return true;
  if (hostDark >= 0) return hostDark == 1;
  // Before the host's first show flags, its own background colour tells.
  return IsDarkColorText(hostBackColor);
}

}  // namespace kontaktel
