// Light or dark: decided from what the user and the host have said, without
// touching any window, so that every combination can be checked as a table.
#pragma once

#include <string_view>

namespace kontaktel {

// `darkSetting` is the "Dark" key as written ("0" light, "1" dark, anything
// else follows the host); `hostDark` is -1 before the host has passed show
// flags, else 1 when they asked for dark; `hostBackColor` is the host's
// configured viewer background ("r,g,b" or a decimal colour value), consulted
// only before the host has passed show flags.
bool ChooseDarkPalette(std::wstring_view darkSetting, int hostDark,
                       std::wstring_view hostBackColor);

// Whether a host colour value ("r,g,b" or a decimal COLORREF) is dark; false
// for text that is no colour.
bool IsDarkColorText(std::wstring_view text);

}  // namespace kontaktel
