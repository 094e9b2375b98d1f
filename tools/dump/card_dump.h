#pragma once

#include <string_view>

#include "json_writer.h"
#include "output.h"
#include "vcard/card.h"

namespace kontaktel {

// {"file": NAME, "cards": [...]}: every field of every card under its own name.
void WriteCardsJson(JsonWriter& json, std::wstring_view fileName, const CardSet& cards);

// A few lines per card: name, phones, e-mails, photo.
void DumpCardSummary(Output& out, std::wstring_view fileName, const CardSet& cards);

}  // namespace kontaktel
