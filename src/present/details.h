// The details text of one card, as the details pane shows and copies it.
#pragma once

#include <string>
#include <string_view>

#include "vcard/card.h"

namespace kontaktel {

// One line per shown property, in card order: caption, TAB, value, CR LF (a
// value's own line breaks continue on lines of their own). Notes are blocks
// under a "── Note ──" header with an empty line around them. A photo given
// only by address ends the text. Empty when nothing is shown.
std::wstring RenderCardDetails(const Card& card, bool russian);

// Every CR, LF and CR LF becomes one CR LF (so LF CR becomes two).
std::wstring NormalizeLineBreaks(std::wstring_view text);

}  // namespace kontaktel
