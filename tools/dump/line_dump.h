#pragma once

#include <string>
#include <string_view>

#include "output.h"

namespace kontaktel {

// Each logical line of the text and its parsed parts.
void DumpLines(Output& out, std::wstring_view fileName, const std::wstring& text);

}  // namespace kontaktel
