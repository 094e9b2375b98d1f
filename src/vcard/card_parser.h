// Assembling the cards of a file from its property lines.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "vcard/card.h"

namespace kontaktel {

// Every card of the text, in the order in which the cards end; a last card
// without END:VCARD is kept. Text outside cards is ignored. Never fails. The
// set keeps the text. `fileCodePage` is the page the file was read in
// (FileText::codePage): quoted-printable values that name no charset and are
// not UTF-8 are read in it, or, when it is UTF-8 or UTF-16, in the page that
// all such values of the file fit best.
CardSet ParseCards(std::wstring text, unsigned fileCodePage = 65001);

// The cards of a text that more of the file follows (unless `atEnd`): those
// that the rest of the file cannot change, the same as ParseCards of the whole
// text gives them. `text` is left holding what comes after them, which the
// next call takes up with the text that follows. The batch holds its photo
// lines as bytes (CardBatch::MovePhotosOutOfText). `guessedPage` tells that a quoted-printable
// value was read in a page guessed from this text alone, where ParseCards of
// the whole text may guess another.
struct PartialCards {
  std::shared_ptr<CardBatch> batch;
  bool guessedPage = false;
};
PartialCards ParseCardsBeforeEnd(std::wstring& text, unsigned fileCodePage, bool atEnd);

// The next `maxCards` cards of a whole file's text from `from` on, the same as
// ParseCards of the whole text gives them, in a batch that shares the text;
// `from` moves past them, to the text's size once every card is read.
PartialCards ParseCardsOfText(const std::shared_ptr<const std::wstring>& text, size_t& from,
                              unsigned fileCodePage, size_t maxCards);

// The bytes of an embedded photo from its PHOTO line and the lines that line
// took in, as written in the file (what a card keeps of its photo until the
// bytes are asked for). Empty when they do not decode.
std::vector<uint8_t> DecodePhotoSource(std::wstring_view source);

}  // namespace kontaktel
