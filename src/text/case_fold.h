// Case folding for filtering and searching.
#pragma once

#include <string>
#include <string_view>

namespace kontaktel {

// Invariant-locale lower case. The result ends at the first NUL of the input.
std::wstring LowerForMatch(std::wstring_view text);

// The same into `lower`, whose buffer is reused from call to call.
void LowerForMatch(std::wstring_view text, std::wstring& lower);

}  // namespace kontaktel
