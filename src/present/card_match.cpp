#include "present/card_match.h"

#include <algorithm>
#include <array>
#include <cwchar>
#include <functional>
#include <utility>

#include "text/case_fold.h"
#include "text/platform.h"

namespace kontaktel {

namespace {

// Horspool's shifts keyed by the low byte of a character: characters sharing a
// low byte share the smallest shift, which only ever shifts less.
class NeedleSearcher {
 public:
  explicit NeedleSearcher(std::wstring_view needle) : needle_(needle) {
    shift_.fill(needle.size());
    for (size_t i = 0; i + 1 < needle.size(); ++i) shift_[Key(needle[i])] = needle.size() - 1 - i;
  }

  // The first occurrence at or after `from`, or npos.
  size_t Find(std::wstring_view text, size_t from) const {
    const size_t m = needle_.size();
    if (m == 1) return text.find(needle_[0], from);
    if (from > text.size() || text.size() - from < m) return std::wstring_view::npos;
    const wchar_t last = needle_[m - 1];
    const wchar_t* const data = text.data();
    size_t at = from;
    const size_t end = text.size() - m;
    while (at <= end) {
      const wchar_t c = data[at + m - 1];
      if (c == last && std::wmemcmp(data + at, needle_.data(), m - 1) == 0) return at;
      at += shift_[Key(c)];
    }
    return std::wstring_view::npos;
  }

 private:
  static size_t Key(wchar_t c) { return static_cast<size_t>(c) & 0xFF; }

  std::wstring_view needle_;
  std::array<size_t, 256> shift_;
};

bool IsWordChar(wchar_t c) { return PlatformIsAlnum(c); }

// Whether the occurrence at `at` stands as a whole word in `text`.
bool IsWholeWordAt(std::wstring_view text, size_t at, size_t length) {
  if (at > 0 && IsWordChar(text[at - 1])) return false;
  if (at + length < text.size() && IsWordChar(text[at + length])) return false;
  return true;
}

// An occurrence of `needle` in `text` (already folded when folding applies).
bool ContainsOccurrence(std::wstring_view text, std::wstring_view needle, bool wholeWord) {
  if (text.size() < needle.size()) return false;
  size_t at = text.find(needle);
  while (at != std::wstring_view::npos) {
    if (!wholeWord || IsWholeWordAt(text, at, needle.size())) return true;
    at = text.find(needle, at + 1);
  }
  return false;
}

bool HasPhoto(const Card& card) {
  return (card.photoData && !card.photoData->empty()) || !card.photoUrl.empty();
}

void EnsureFolded(const CardSet& cards, FilterState& state) {
  if (!state.folded.Built() || state.folded.CardCount() != cards.size()) state.folded.Build(cards);
}

void AppendNumber(std::wstring& text, uint64_t number) { text += std::to_wstring(number); }

}  // namespace

bool TextContains(std::wstring_view haystack, std::wstring_view needle, bool wholeWord,
                  bool caseSensitive) {
  if (haystack.empty() || needle.empty()) return false;
  if (caseSensitive) return ContainsOccurrence(haystack, needle, wholeWord);
  return ContainsOccurrence(LowerForMatch(haystack), needle, wholeWord);
}

bool CardMatches(const Card& card, std::wstring_view needle, bool wholeWord, bool caseSensitive) {
  if (needle.empty()) return false;
  return ForEachMatchText(card, [&](std::wstring_view text) {
    return TextContains(text, needle, wholeWord, caseSensitive);
  });
}

void FoldedCardTexts::Build(const CardSet& cards) {
  Clear();
  cardStart_.reserve(cards.size() + 1);
  // A text given twice (FN and its property record, a phone and its TEL
  // record, the same type on every phone) is kept once: matching asks only
  // whether any text of the card holds the needle.
  std::vector<std::pair<size_t, std::wstring_view>> seen;
  const std::hash<std::wstring_view> hash;
  for (const Card& card : cards) {
    cardStart_.push_back(text_.size());
    seen.clear();
    ForEachMatchText(card, [&](std::wstring_view text) {
      if (text.empty()) return false;
      const size_t key = hash(text);
      for (const auto& [seenKey, seenText] : seen) {
        if (seenKey == key && seenText == text) return false;
      }
      seen.emplace_back(key, text);
      text_ += LowerForMatch(text);
      text_ += L'\0';
      return false;
    });
  }
  cardStart_.push_back(text_.size());
  text_.shrink_to_fit();
  built_ = true;
}

void FoldedCardTexts::Clear() {
  text_.clear();
  text_.shrink_to_fit();
  cardStart_.clear();
  built_ = false;
}

bool FoldedCardTexts::Matches(size_t card, std::wstring_view foldedNeedle, bool wholeWord) const {
  if (foldedNeedle.empty() || card + 1 >= cardStart_.size()) return false;
  const std::wstring_view texts(text_.data() + cardStart_[card],
                                cardStart_[card + 1] - cardStart_[card]);
  return ContainsOccurrence(texts, foldedNeedle, wholeWord);
}

void FoldedCardTexts::MatchAll(const CardSet& cards, std::wstring_view foldedNeedle,
                               bool wholeWord, std::vector<uint8_t>& flags) const {
  flags.assign(CardCount(), 0);
  if (foldedNeedle.empty()) return;
  if (foldedNeedle.find(L'\0') != std::wstring_view::npos) {
    // Such a needle could span two texts of the buffer; fold text by text.
    for (size_t i = 0; i < flags.size() && i < cards.size(); ++i) {
      flags[i] = CardMatches(cards[i], foldedNeedle, wholeWord, false);
    }
    return;
  }
  const NeedleSearcher searcher(foldedNeedle);
  const std::wstring_view text = text_;
  size_t from = 0;
  for (;;) {
    const size_t at = searcher.Find(text, from);
    if (at == std::wstring_view::npos) return;
    const size_t card =
        static_cast<size_t>(std::upper_bound(cardStart_.begin(), cardStart_.end(), at) -
                            cardStart_.begin()) -
        1;
    if (!wholeWord || IsWholeWordAt(text, at, foldedNeedle.size())) {
      flags[card] = 1;
      from = cardStart_[card + 1];  // the card is decided: go on with the next one
    } else {
      from = at + 1;
    }
  }
}

void AttachCardsToFilter(const CardSet& cards, FilterState& state) {
  state.selected = 0;
  state.topRow = 0;
  state.detailsScroll = 0;
  state.searchText.clear();
  state.matchFlags.clear();
  state.matchCount = 0;
  state.matchOrdinal = 0;
  state.folded.Clear();
  RebuildVisibleList(cards, state);
}

void RebuildVisibleList(const CardSet& cards, FilterState& state) {
  state.visibleIndices.clear();
  state.visibleIndices.reserve(cards.size());
  const std::wstring needle = LowerForMatch(state.filterText);
  std::vector<uint8_t> matches;
  if (!needle.empty()) {
    EnsureFolded(cards, state);
    state.folded.MatchAll(cards, needle, false, matches);
  }
  for (size_t i = 0; i < cards.size(); ++i) {
    if (state.photoOnly && !HasPhoto(cards[i])) continue;
    if (needle.empty() || matches[i] != 0) state.visibleIndices.push_back(i);
  }
  if (std::binary_search(state.visibleIndices.begin(), state.visibleIndices.end(),
                         state.selected)) {
    return;
  }
  state.selected = state.visibleIndices.empty() ? 0 : state.visibleIndices.front();
  state.topRow = 0;
  state.detailsScroll = 0;
  UpdateMatchOrdinal(state);
}

void ComputeSearchMatches(const CardSet& cards, FilterState& state, bool wholeWord,
                          bool caseSensitive) {
  state.matchFlags.assign(cards.size(), 0);
  state.matchCount = 0;
  state.matchOrdinal = 0;
  if (state.searchText.empty()) return;
  if (caseSensitive) {
    for (size_t i = 0; i < cards.size(); ++i) {
      state.matchFlags[i] = CardMatches(cards[i], state.searchText, wholeWord, true);
    }
  } else {
    EnsureFolded(cards, state);
    state.folded.MatchAll(cards, LowerForMatch(state.searchText), wholeWord, state.matchFlags);
  }
  state.matchCount =
      static_cast<uint32_t>(std::count(state.matchFlags.begin(), state.matchFlags.end(), 1));
  UpdateMatchOrdinal(state);
}

void UpdateMatchOrdinal(FilterState& state) {
  state.matchOrdinal = 0;
  if (state.matchCount == 0 || state.selected >= state.matchFlags.size()) return;
  if (state.matchFlags[state.selected] != 1) return;
  const auto end = state.matchFlags.begin() + static_cast<std::ptrdiff_t>(state.selected) + 1;
  state.matchOrdinal = static_cast<uint32_t>(std::count(state.matchFlags.begin(), end, 1));
}

std::optional<uint64_t> FindSearchHit(const CardSet& cards, const FilterState& state,
                                      uint64_t startIndex, bool backwards) {
  const uint64_t count = cards.size();
  if (count == 0) return std::nullopt;
  const uint64_t start = startIndex % count;
  uint64_t i = start;
  do {
    if (i < state.matchFlags.size() && state.matchFlags[i] == 1) return i;
    if (backwards) {
      i = (i > 0 ? i : count) - 1;
    } else {
      i = i + 1 == count ? 0 : i + 1;
    }
  } while (i != start);
  return std::nullopt;
}

std::wstring StatusText(size_t cardCount, const FilterState& state, bool russian) {
  std::wstring text = russian ? L"Контактов: " : L"Contacts: ";
  const size_t shown = state.visibleIndices.size();
  if (shown != cardCount) {
    AppendNumber(text, shown);
    text += L'/';
  }
  AppendNumber(text, cardCount);
  if (cardCount > 0) {
    text += L"  (";
    AppendNumber(text, state.selected + 1);
    text += L'/';
    AppendNumber(text, cardCount);
    text += L')';
  }
  if (state.photoOnly) text += L"  \U0001F4F7";
  if (!state.searchText.empty()) {
    text += russian ? L"  |  Найдено: " : L"  |  Found: ";
    AppendNumber(text, state.matchCount);
    if (state.matchCount >= 1 && state.matchOrdinal >= 1) {
      text += L" (";
      AppendNumber(text, state.matchOrdinal);
      text += L'/';
      AppendNumber(text, state.matchCount);
      text += L')';
    }
  }
  return text;
}

}  // namespace kontaktel
