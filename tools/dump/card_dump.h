#pragma once

#include <string_view>

#include "json_writer.h"
#include "output.h"
#include "vcard/card.h"

namespace kontaktel {

// {"file": NAME, "codePage": N, "cards": [...]}: the code page the file was read
// in, and every field of every card under its own name.
void WriteCardsJson(JsonWriter& json, std::wstring_view fileName, unsigned codePage,
                    const CardSet& cards);

// Each card's details text as the viewer shows it, under its number and name;
// line ends are LF.
void DumpCardDetails(Output& out, std::wstring_view fileName, const CardSet& cards, bool russian);

// A few lines per card: name, phones, e-mails, photo.
void DumpCardSummary(Output& out, std::wstring_view fileName, const CardSet& cards);

}  // namespace kontaktel
