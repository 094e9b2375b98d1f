// Localised captions of property names and TYPE values.
#pragma once

#include <string>
#include <string_view>

namespace kontaktel {

// The caption of a property name (a group prefix such as item1. and the
// letter case do not matter); an unknown name comes back exactly as passed.
std::wstring FieldLabel(std::wstring_view name, bool russian);

// The caption of one TYPE value, already split and trimmed; an unknown value
// comes back exactly as passed.
std::wstring TypeLabel(std::wstring_view type, bool russian);

}  // namespace kontaktel
