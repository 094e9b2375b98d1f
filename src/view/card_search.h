// The host's text search over the cards.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "vcard/card.h"

namespace kontaktel {

// Walks the cards from `start` in the chosen direction, wrapping around once,
// and returns the first that holds the text. An empty text never matches.
std::optional<size_t> FindCard(const CardSet& cards, std::wstring_view text, size_t start, bool backwards,
                               bool matchCase, bool wholeWords);

}  // namespace kontaktel
