// Whole files through the loading pipeline, then every card through matching,
// with the folded-copy matcher checked against folding text by text.
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_targets.h"
#include "present/apple_labels.h"
#include "present/card_accessors.h"
#include "present/card_match.h"
#include "present/details.h"
#include "present/email.h"
#include "text/case_fold.h"
#include "text/file_text.h"
#include "text/text_util.h"
#include "vcard/card_load.h"
#include "vcard/card_parser.h"
#include "vcard/line_split.h"
#include "vcard/value_decode.h"

namespace kontaktel::fuzz {

namespace {

void CheckUnfolding(std::wstring_view text) {
  const LineList direct = UnfoldText(text);
  const LineList twoSteps = UnfoldLines(SplitLines(text));
  if (direct.lines != twoSteps.lines) Fail("UnfoldText differs from UnfoldLines(SplitLines)");
  // The parser streams the same lines, and looking ahead changes nothing.
  LineReader reader(text);
  std::wstring_view ahead;
  for (size_t i = 0; i < direct.lines.size(); ++i) {
    if (!reader.Next() || reader.Line() != direct.lines[i]) Fail("LineReader differs from UnfoldText");
    if (i % 2 == 0 && reader.Peek(ahead) && ahead != direct.lines[i + 1]) Fail("Peek differs");
  }
  if (reader.Next()) Fail("LineReader gives more lines than UnfoldText");
}

bool HoldsBreak(std::wstring_view text) { return text.find_first_of(L"\r\n") != std::wstring_view::npos; }

bool HoldsUnnormalisedBreak(const Card& card) {
  if (HoldsBreak(card.photoUrl())) return true;
  for (const CardProperty property : card.properties()) {
    if (property.name == L"X-ABLABEL" && HoldsBreak(property.value)) return true;
  }
  return false;
}

// Everything the viewer shows of a card, in both languages.
void ExerciseCard(const Card& card) {
  for (const bool russian : {false, true}) {
    const std::wstring details = RenderCardDetails(card, russian);
    // Lines are CR LF: every value is normalised. The photo address and the
    // Apple labels used as captions are written as they stand.
    if (HoldsUnnormalisedBreak(card)) continue;
    for (size_t i = 0; i < details.size(); ++i) {
      if (details[i] == L'\n' && (i == 0 || details[i - 1] != L'\r')) Fail("lone LF in the details text");
      if (details[i] == L'\r' && (i + 1 == details.size() || details[i + 1] != L'\n')) {
        Fail("lone CR in the details text");
      }
    }
    BuildGroupLabelMap(card, russian);
  }
  CardDisplayName(card);
  FirstPhone(card);
  FirstEmail(card);
  // A mailto: URL gives whatever it holds; an address found in text holds an '@'.
  const std::wstring email = FallbackEmail(card);
  const bool mailto = card.url().size() > 7 && AsciiUpper(card.url().substr(0, 7)) == L"MAILTO:";
  if (!mailto && !email.empty() && email.find(L'@') == std::wstring::npos) {
    Fail("fallback e-mail without @");
  }
}

void CheckMatching(const CardSet& cards, std::wstring_view text) {
  std::vector<std::wstring> needles{L"a", L"an", L"cell", L"иван", L"@", L"1"};
  // A needle from the input itself reaches the odd characters it holds.
  if (!text.empty())
    needles.emplace_back(text.substr(text.size() - std::min<size_t>(text.size(), 3)));
  if (text.size() > 8) needles.emplace_back(text.substr(text.size() / 2, 2));
  FoldedCardTexts folded;
  folded.Build(cards);
  std::vector<uint8_t> flags;
  for (const std::wstring& raw : needles) {
    const std::wstring needle = LowerForMatch(raw);
    for (const bool wholeWord : {false, true}) {
      folded.MatchAll(cards, needle, wholeWord, flags);
      for (size_t i = 0; i < cards.size(); ++i) {
        const bool expected = CardMatches(cards[i], needle, wholeWord, false);
        if ((flags[i] != 0) != expected) Fail("folded matching differs from folding each text");
        if (folded.Matches(i, needle, wholeWord) != expected) Fail("Matches differs from MatchAll");
      }
    }
    for (const Card& card : cards) CardMatches(card, raw, true, true);
  }

  FilterState state;
  AttachCardsToFilter(cards, state);
  state.filterText = needles.back();
  state.photoOnly = text.size() % 2 == 1;
  RebuildVisibleList(cards, state);
  state.searchText = needles.back();
  ComputeSearchMatches(cards, state, text.size() % 3 == 0, text.size() % 5 == 0);
  if (state.matchCount > cards.size()) Fail("more matches than cards");
  const auto hit = FindSearchHit(cards, state, text.size(), text.size() % 7 == 0);
  if (hit && (*hit >= cards.size() || state.matchFlags[*hit] != 1)) Fail("search hit not a match");
  if (!cards.empty() && state.selected >= cards.size()) Fail("selection outside the cards");
  StatusText(cards.size(), state, text.size() % 2 == 0);
}

// Read in pieces as the viewer reads a file, the cards are those of the whole.
void CheckPieces(std::string_view bytes, const CardSet& whole, unsigned codePage) {
  if (bytes.empty()) return;
  const size_t pieceBytes = 1 + bytes.size() % 97;
  std::unique_ptr<CardLoad> load = CardLoad::OpenBytes(bytes, pieceBytes);
  // Declined only when nothing of it is text.
  if (!load) {
    if (codePage != 0) Fail("bytes in memory not opened");
    return;
  }
  CardSet cards;
  while (!load->Done()) {
    CardLoad::Batch batch = load->Step(1 + bytes.size() % 5);
    if (batch.replaces) cards = CardSet{};
    cards.Append(std::move(batch.cards));
  }
  if (!cards.SpansInside()) Fail("a span outside its buffer, in pieces");
  const FileBytes read = load->TakeBytes();
  if (read.codePage != codePage) Fail("pieces read in another page");
  if (cards.size() != whole.size()) Fail("pieces give another number of cards");
  for (size_t i = 0; i < cards.size(); ++i) {
    const Card a = cards[i], b = whole[i];
    if (a.sourceText() != b.sourceText() || a.fullName() != b.fullName() ||
        a.photoSize() != b.photoSize() || a.photoData() != b.photoData() ||
        a.properties().size() != b.properties().size()) {
      Fail("a card read in pieces differs");
    }
    for (size_t k = 0; k < a.properties().size(); ++k) {
      const CardProperty p = a.properties()[k], q = b.properties()[k];
      if (p.name != q.name || p.rawPrefix != q.rawPrefix || p.value != q.value)
        Fail("a line read in pieces differs");
    }
    // A strict UTF-8 file is not kept: its text encodes back to its bytes.
    if (read.textIsUtf8) {
      const std::optional<std::string> own = a.sourceBytes(read);
      if (!own || bytes.find(*own) == std::string_view::npos) Fail("a card's bytes are lost");
    }
  }
}

}  // namespace

int FuzzParse(const uint8_t* data, size_t size) {
  if (size > kMaxFileSize) return 0;
  const FileText file =
      DecodeFileTextAndCodePage(std::string_view(reinterpret_cast<const char*>(data), size));
  const std::wstring& text = file.text;
  CheckUnfolding(text);
  const CardSet cards = ParseCards(text, file.codePage);
  if (!cards.SpansInside()) Fail("a span outside its buffer");
  for (const Card card : cards) {
    for (const CardProperty property : card.properties()) {
      if (property.name == L"PHOTO" && !property.value.empty()) Fail("PHOTO record with a value");
    }
    if (card.photoSize() > kMaxPhotoBytes) Fail("photo outside its bounds");
    // The bytes decoded on demand are the ones the parse counted.
    if (card.photoData().size() != card.photoSize()) Fail("photo bytes differ from its size");
    ExerciseCard(card);
  }
  CheckMatching(cards, text);
  CheckPieces(std::string_view(reinterpret_cast<const char*>(data), size), cards, file.codePage);
  return 0;
}

}  // namespace kontaktel::fuzz
