// Captions that address books give to the lines of an item group: Apple writes
// item1.URL with item1.X-ABLabel beside it, and wraps its own built-in labels
// as _$!<HomePage>!$_.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "vcard/card.h"

namespace kontaktel {

// Group prefix as written (item1., ITEM2.) to the caption its lines take.
using GroupLabelMap = std::map<std::wstring, std::wstring, std::less<>>;

// The text between _$!< and >!$_ (or $!< and >!$); anything else unchanged.
std::wstring_view UnwrapAppleLabel(std::wstring_view label);

// The rawPrefix up to and including its first dot, or empty when it has none.
std::wstring_view GroupPrefix(std::wstring_view rawPrefix);

// Every X-ABLABEL of the card with a group prefix, its label unwrapped and,
// for Apple's built-in relations and dates, localised. The last label of a
// group wins.
GroupLabelMap BuildGroupLabelMap(const Card& card, bool russian);

}  // namespace kontaktel
