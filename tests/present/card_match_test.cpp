#include "present/card_match.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "corpus.h"
#include "text/case_fold.h"
#include "text/file_text.h"
#include "text/utf8.h"
#include "support/cards.h"
#include "vcard/card_parser.h"

namespace kontaktel {
namespace {

using Indices = std::vector<uint64_t>;

TestCard ParseOne(std::wstring_view body) { return CardOf(body); }

TestCard Named(const wchar_t* name) { return CardOf(std::wstring(L"FN:") + name); }

// The filter's and the search's answer for every card, by folding each text anew.
std::vector<uint8_t> MatchesFoldingEachText(const CardSet& cards, std::wstring_view needle,
                                            bool wholeWord) {
  std::vector<uint8_t> flags;
  for (const Card& card : cards) flags.push_back(CardMatches(card, needle, wholeWord, false));
  return flags;
}

// Needles taken from the cards' own texts, so that many of them hit.
std::vector<std::wstring> NeedlesFrom(const CardSet& cards) {
  std::vector<std::wstring> needles{L"a",  L"an",   L"ann",  L"cell", L"home",   L"+7",
                                    L"@",  L"иван", L"ИВАН", L"ООО",  L"é",      L"ü",
                                    L"x-", L"1",    L" ",    L"zzzz", L"berlin", L"москва"};
  for (size_t i = 0; i < cards.size(); i += 7) {
    ForEachMatchText(cards[i], [&](std::wstring_view text) {
      if (text.size() >= 4) needles.emplace_back(text.substr(text.size() / 3, 3));
      return needles.size() % 5 == 0;  // a few texts of each card
    });
  }
  return needles;
}

void ExpectFoldedAgrees(const CardSet& cards, const std::string& what,
                        FoldedCardTexts folded = {}) {
  if (!folded.Built()) folded.Build(cards);
  ASSERT_EQ(folded.CardCount(), cards.size());
  for (const std::wstring& raw : NeedlesFrom(cards)) {
    const std::wstring needle = LowerForMatch(raw);
    for (const bool wholeWord : {false, true}) {
      std::vector<uint8_t> flags;
      folded.MatchAll(cards, needle, wholeWord, flags);
      const std::vector<uint8_t> expected = MatchesFoldingEachText(cards, needle, wholeWord);
      ASSERT_EQ(flags, expected) << what << " needle " << WideToUtf8(needle) << " whole word "
                                 << wholeWord;
      for (size_t i = 0; i < cards.size(); ++i) {
        ASSERT_EQ(folded.Matches(i, needle, wholeWord), expected[i] != 0) << what << " card " << i;
      }
    }
  }
}

TEST(CardMatches, EmptyNeedleMatchesNothing) {
  EXPECT_FALSE(CardMatches(Named(L"Ann"), L"", false, false));
}

TEST(CardMatches, ReadsEveryTextOfTheCard) {
  const TestCard card = ParseOne(
      L"FN:Fiona Full\r\nN:Family;Given;;;\r\nORG:Orgco;Unit\r\nTITLE:Titled\r\n"
      L"BDAY:1999-12-31\r\nURL:http://site.example\r\nNOTE:Noted thing\r\nGENDER:F\r\n"
      L"LANG:de\r\nKIND:individual\r\nPHOTO;VALUE=URL:http://pic.example/p.jpg\r\n"
      L"TEL;TYPE=CELL,VOICE:+49 151\r\nEMAIL;TYPE=INTERNET:fi@mail.example\r\n"
      L"ADR:;;Street 1;Town;;;Land\r\nMEMBER:urn:uuid:member-1\r\n"
      L"X-ANDROID-CUSTOM:vnd.android.cursor.item/nickname;Fifi;1\r\n"
      L"X-CUSTOM-THING:custom value\r\n");
  for (const wchar_t* needle :
       {L"fiona",        L"family",      L"given",      L"orgco, unit",    L"titled",   L"1999",
        L"site.example", L"noted",       L"individual", L"pic.example",    L"+49",      L"cell",
        L"voice",        L"fi@mail",     L"internet",   L"street 1, town", L"member-1", L"nickname",
        L"fifi",         L"custom value"}) {
    EXPECT_TRUE(CardMatches(card, needle, false, false)) << WideToUtf8(needle);
  }
  EXPECT_FALSE(CardMatches(card, L"nowhere", false, false));
}

TEST(FoldedCardTexts, AgreesWithFoldingEachTextOnTheSamples) {
  const std::filesystem::path samples = KONTAKTEL_SAMPLES;
  size_t files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(samples)) {
    if (entry.path().extension() != ".vcf") continue;
    const CardSet cards = ParseCards(LoadFileText(entry.path().wstring().c_str()));
    ASSERT_FALSE(cards.empty()) << entry.path();
    ExpectFoldedAgrees(cards, entry.path().filename().string());
    ++files;
  }
  EXPECT_GE(files, 6u);
}

TEST(FoldedCardTexts, AgreesWithFoldingEachTextOnAGeneratedCorpus) {
  bench::CorpusOptions options;
  options.seed = 7;
  options.targetBytes = 192 * 1024;
  const std::string bytes = bench::GenerateCorpus(options);
  const CardSet cards = ParseCards(DecodeFileText(bytes));
  ASSERT_GT(cards.size(), 100u);
  ExpectFoldedAgrees(cards, "corpus");
}

// A file read in batches: the cards and their folded texts appended batch by
// batch, and the filter's list grown with them, answer as if built at once.
TEST(FoldedCardTexts, AppendedBatchesAgreeWithTheWhole) {
  bench::CorpusOptions options;
  options.seed = 11;
  options.targetBytes = 96 * 1024;
  const std::wstring text = DecodeFileText(bench::GenerateCorpus(options));
  CardSet cards;
  FoldedCardTexts folded;
  FilterState grown;
  grown.filterText = L"AN";
  for (size_t start = 0, batches = 0; start < text.size(); ++batches) {
    const size_t end = std::min(text.find(L"BEGIN:VCARD", start + text.size() / 5), text.size());
    CardSet batch = ParseCards(text.substr(start, end - start));
    FoldedCardTexts batchFolded;
    batchFolded.Build(batch);
    const size_t before = cards.size();
    cards.Append(std::move(batch));
    folded.Append(std::move(batchFolded));
    grown.folded = folded;
    EXPECT_EQ(ExtendVisibleList(cards, grown, before), before == 0) << batches;
    start = end;
  }
  ExpectFoldedAgrees(cards, "batches", folded);
  FilterState whole;
  whole.filterText = grown.filterText;
  RebuildVisibleList(cards, whole);
  EXPECT_EQ(grown.visibleIndices, whole.visibleIndices);
  EXPECT_EQ(grown.selected, whole.selected);
}

TEST(FoldedCardTexts, NeedlesWithANulAreAnsweredTextByText) {
  const CardSet cards = CardsOf({L"FN:ab", L"FN:cd\r\nTITLE:ef"});
  FoldedCardTexts folded;
  folded.Build(cards);
  std::vector<uint8_t> flags;
  folded.MatchAll(cards, std::wstring(L"d\0e", 3), false, flags);
  EXPECT_EQ(flags, (std::vector<uint8_t>{0, 0}));
}

TEST(FoldedCardTexts, TextsWithControlCharactersOrNulAgreeToo) {
  const CardSet cards = CardsOf({L"FN:Ab\x01Cd", std::wstring_view(L"FN:X\r\nTITLE:EF\0GH", 17),
                                 L"FN:Zz\r\nTITLE:\x01\r\nNOTE:Q\x01R"});
  const std::vector<std::wstring> needles{L"ab", L"cd", L"b\x01c", L"\x01",
                                          L"ef", L"gh", L"zz",     L"q"};
  FoldedCardTexts folded;
  folded.Build(cards);
  for (const std::wstring& needle : needles) {
    for (const bool wholeWord : {false, true}) {
      std::vector<uint8_t> flags;
      folded.MatchAll(cards, needle, wholeWord, flags);
      EXPECT_EQ(flags, MatchesFoldingEachText(cards, needle, wholeWord)) << WideToUtf8(needle);
    }
  }
}

class ListFilter : public ::testing::Test {
 protected:
  void SetUp() override {
    cards_ = CardsOf({L"FN:Ann Lee\r\nTEL;TYPE=CELL:111",
                      L"FN:Иван Петров\r\nPHOTO;VALUE=URL:http://p.example/1.jpg",
                      L"FN:Anna Berg\r\nEMAIL:anna@x.example", L"FN:Bob"});
    AttachCardsToFilter(cards_, state_);
  }

  bool Apply(const wchar_t* text, bool photoOnly = false) {
    state_.filterText = text;
    state_.photoOnly = photoOnly;
    return RebuildVisibleList(cards_, state_);
  }

  CardSet cards_;
  FilterState state_;
};

TEST_F(ListFilter, FoldsTheFilterTextAndKeepsASelectionThatStaysVisible) {
  state_.selected = 2;
  Apply(L"ANN");
  EXPECT_EQ(state_.visibleIndices, (Indices{0, 2}));
  EXPECT_EQ(state_.selected, 2u);
  Apply(L"иван");
  EXPECT_EQ(state_.visibleIndices, (Indices{1}));
  EXPECT_EQ(state_.selected, 1u);
}

TEST_F(ListFilter, NoMatchEmptiesTheListAndSelectsTheFirstCard) {
  state_.selected = 3;
  EXPECT_TRUE(Apply(L"nobody"));  // the view starts again at the top
  EXPECT_TRUE(state_.visibleIndices.empty());
  EXPECT_EQ(state_.selected, 0u);
  EXPECT_EQ(StatusText(cards_.size(), state_, false), L"Contacts: 0/4  (1/4)");
  EXPECT_EQ(StatusText(cards_.size(), state_, true), L"Контактов: 0/4  (1/4)");
}

TEST_F(ListFilter, SearchMarksCountAndOrdinal) {
  state_.searchText = L"ANN";
  ComputeSearchMatches(cards_, state_, false, false);
  EXPECT_EQ(state_.matchFlags, (std::vector<uint8_t>{1, 0, 1, 0}));
  EXPECT_EQ(state_.matchCount, 2u);
  EXPECT_EQ(state_.matchOrdinal, 1u);
  state_.selected = 2;
  UpdateMatchOrdinal(state_);
  EXPECT_EQ(state_.matchOrdinal, 2u);
  EXPECT_EQ(StatusText(cards_.size(), state_, false), L"Contacts: 4  (3/4)  |  Found: 2 (2/2)");
  EXPECT_EQ(StatusText(cards_.size(), state_, true), L"Контактов: 4  (3/4)  |  Найдено: 2 (2/2)");
  state_.selected = 3;
  UpdateMatchOrdinal(state_);
  EXPECT_EQ(state_.matchOrdinal, 0u);
  EXPECT_EQ(StatusText(cards_.size(), state_, false), L"Contacts: 4  (4/4)  |  Found: 2");

  ComputeSearchMatches(cards_, state_, true, false);  // whole words: Anna is not Ann
  EXPECT_EQ(state_.matchFlags, (std::vector<uint8_t>{1, 0, 0, 0}));
  state_.searchText = L"ann";
  ComputeSearchMatches(cards_, state_, false, true);  // case-sensitive: only anna@x
  EXPECT_EQ(state_.matchFlags, (std::vector<uint8_t>{0, 0, 1, 0}));
}

TEST_F(ListFilter, SearchHitsWrapAroundInBothDirections) {
  state_.searchText = L"ann";
  ComputeSearchMatches(cards_, state_, false, false);
  EXPECT_EQ(FindSearchHit(cards_, state_, 1, false), 2u);
  EXPECT_EQ(FindSearchHit(cards_, state_, 3, false), 0u);
  EXPECT_EQ(FindSearchHit(cards_, state_, 0, true), 0u);
  EXPECT_EQ(FindSearchHit(cards_, state_, 1, true), 0u);
  EXPECT_EQ(FindSearchHit(cards_, state_, 3, true), 2u);
  EXPECT_EQ(FindSearchHit(cards_, state_, 7, false), 0u);  // modulo the card count
  // A backward search from the first card goes on at the last one.
  state_.searchText = L"bob";
  ComputeSearchMatches(cards_, state_, false, false);
  EXPECT_EQ(FindSearchHit(cards_, state_, 0, true), 3u);
}

TEST(StatusText, NoCards) {
  FilterState state;
  EXPECT_EQ(StatusText(0, state, false), L"Contacts: 0");
  EXPECT_EQ(LoadingStatusText(120, 45, 100, false), L"Loading… 120 cards (45%)");
  EXPECT_EQ(LoadingStatusText(0, 1, 3, true), L"Загрузка… 0 (33%)");
}

}  // namespace
}  // namespace kontaktel
