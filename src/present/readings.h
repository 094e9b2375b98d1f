// Readable forms of the coded values of GENDER and KIND.
#pragma once

#include <string>
#include <string_view>

namespace kontaktel {

// GENDER (and X-GENDER) is a sex letter, then optionally ";" and a free-text
// identity: M;he/him reads Male (he/him). An unknown letter shows upper-cased.
std::wstring GenderReading(std::wstring_view value, bool russian);

// KIND: individual, group, org, organization, location; anything else unchanged.
std::wstring KindReading(std::wstring_view value, bool russian);

}  // namespace kontaktel
