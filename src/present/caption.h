// The caption of a details line: the localised property name and its types,
// such as Phone (Mobile, Preferred).
#pragma once

#include <string>
#include <string_view>

namespace kontaktel {

// Reads the text left of a property line's colon (group, name and parameters
// as written). Only TYPE lists, X-SERVICE-TYPE and the bare types of vCard 2.1
// contribute; PREF, ENCODING, CHARSET, VALUE and the rest never show, nor do
// the bare encoding and value tokens (QUOTED-PRINTABLE, BASE64, 8BIT, URL...).
std::wstring FormatPropertyCaption(std::wstring_view rawPrefix, bool russian);

}  // namespace kontaktel
