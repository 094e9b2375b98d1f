// Keeps encoded pictures and keys out of the details text.
#pragma once

#include <string_view>

namespace kontaktel {

// True for a value that reads as Base64 data (a JPEG or PNG by its first
// characters, or 60 and more characters nearly all of the Base64 alphabets)
// rather than as something a person wrote.
bool LooksLikeImageData(std::wstring_view text);

}  // namespace kontaktel
