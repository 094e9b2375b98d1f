#include "present/card_match.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <type_traits>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "text/case_fold.h"
#include "text/platform.h"

namespace kontaktel {

namespace {

uint32_t UnitValue(wchar_t c) {
  return static_cast<uint32_t>(static_cast<std::make_unsigned_t<wchar_t>>(c));
}

// UTF-8's scheme for any 32-bit value: lead bytes 0xxxxxxx to 11111110, then
// 10xxxxxx continuation bytes.
void AppendUnit(std::string& bytes, uint32_t value) {
  if (value < 0x80) {
    bytes.push_back(static_cast<char>(value));
    return;
  }
  int continuation = 1;
  while (continuation < 6 && value >= (1u << (6 * continuation + 6 - continuation))) ++continuation;
  const uint8_t leadMark = static_cast<uint8_t>(0xFF00 >> (continuation + 1));
  const uint64_t wide = value;
  bytes.push_back(static_cast<char>(leadMark | (wide >> (6 * continuation))));
  for (int k = continuation - 1; k >= 0; --k) {
    bytes.push_back(static_cast<char>(0x80 | ((wide >> (6 * k)) & 0x3F)));
  }
}

void AppendUnits(std::string& bytes, std::wstring_view text) {
  for (const wchar_t c : text) AppendUnit(bytes, UnitValue(c));
}

bool IsContinuation(uint8_t byte) {
  return (byte & 0xC0) == 0x80;
}

// The unit whose code starts at `at`.
uint32_t UnitAt(std::string_view bytes, size_t at) {
  const auto lead = static_cast<uint8_t>(bytes[at]);
  if (lead < 0x80) return lead;
  int continuation = 0;
  while (continuation < 6 && (lead & (0x40 >> continuation))) ++continuation;
  uint64_t value = lead & (0x3F >> continuation);
  for (int k = 1; k <= continuation && at + k < bytes.size(); ++k) {
    value = value << 6 | (static_cast<uint8_t>(bytes[at + k]) & 0x3F);
  }
  return static_cast<uint32_t>(value);
}

// The unit whose code ends just before `at` (at > 0).
uint32_t UnitBefore(std::string_view bytes, size_t at) {
  size_t start = at - 1;
  while (start > 0 && IsContinuation(static_cast<uint8_t>(bytes[start]))) --start;
  return UnitAt(bytes, start);
}

// The first `byte` in [p, end), sixteen bytes a step where SSE2 is there.
const char* FindByte(const char* p, const char* end, char byte) {
#if defined(__SSE2__)
  const __m128i target = _mm_set1_epi8(byte);
  while (end - p >= 64) {
    const __m128i a = _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), target);
    const __m128i b =
        _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16)), target);
    const __m128i c =
        _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 32)), target);
    const __m128i d =
        _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 48)), target);
    if (_mm_movemask_epi8(_mm_or_si128(_mm_or_si128(a, b), _mm_or_si128(c, d))) != 0) break;
    p += 64;
  }
  while (end - p >= 16) {
    const int mask = _mm_movemask_epi8(
        _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), target));
    if (mask != 0) return p + __builtin_ctz(static_cast<unsigned>(mask));
    p += 16;
  }
#endif
  for (; p < end; ++p) {
    if (*p == byte) return p;
  }
  return nullptr;
}

bool IsWordChar(wchar_t c) {
  return PlatformIsAlnum(c);
}

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
  return card.hasPhotoData() || !card.photoUrl().empty();
}

void EnsureFolded(const CardSet& cards, FilterState& state) {
  if (!state.folded.Built() || state.folded.CardCount() != cards.size()) state.folded.Build(cards);
}

void AppendNumber(std::wstring& text, uint64_t number) {
  text += std::to_wstring(number);
}

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
  std::wstring folded;
  for (const Card& card : cards) {
    cardStart_.push_back(bytes_.size());
    seen.clear();
    ForEachMatchText(card, [&](std::wstring_view text) {
      if (text.empty()) return false;
      const size_t key = hash(text);
      for (const auto& [seenKey, seenText] : seen) {
        if (seenKey == key && seenText == text) return false;
      }
      seen.emplace_back(key, text);
      LowerForMatch(text, folded);
      if (folded.empty()) return false;
      AppendUnits(bytes_, folded);
      bytes_.push_back('\0');
      return false;
    });
  }
  cardStart_.push_back(bytes_.size());
  bytes_.shrink_to_fit();
  byteCounts_.assign(256, 0);
  for (const char byte : bytes_) ++byteCounts_[static_cast<uint8_t>(byte)];
  built_ = true;
}

void FoldedCardTexts::Append(FoldedCardTexts&& more) {
  if (!built_ || cardStart_.size() <= 1) {
    *this = std::move(more);
    return;
  }
  const size_t offset = bytes_.size();
  bytes_ += more.bytes_;
  cardStart_.pop_back();  // this end is where the next cards start
  for (const size_t start : more.cardStart_) cardStart_.push_back(offset + start);
  if (more.byteCounts_.size() == byteCounts_.size()) {
    for (size_t i = 0; i < byteCounts_.size(); ++i) byteCounts_[i] += more.byteCounts_[i];
  }
  built_ = more.built_;
  more.Clear();
}

void FoldedCardTexts::ShrinkToFit() {
  bytes_.shrink_to_fit();
  cardStart_.shrink_to_fit();
}

void FoldedCardTexts::Clear() {
  bytes_.clear();
  bytes_.shrink_to_fit();
  cardStart_.clear();
  byteCounts_.clear();
  built_ = false;
}

size_t FoldedCardTexts::Find(std::string_view needle, size_t from, size_t end,
                             bool wholeWord) const {
  const size_t m = needle.size();
  // The needle's rarest byte is the one to look for.
  size_t pivot = 0;
  for (size_t k = 1; k < m; ++k) {
    if (byteCounts_[static_cast<uint8_t>(needle[k])] <
        byteCounts_[static_cast<uint8_t>(needle[pivot])]) {
      pivot = k;
    }
  }
  const char* const base = bytes_.data();
  const std::string_view all = bytes_;
  while (from < end && end - from >= m) {
    const char* hit = FindByte(base + from + pivot, base + end - (m - 1 - pivot), needle[pivot]);
    if (hit == nullptr) return std::string_view::npos;
    const size_t at = static_cast<size_t>(hit - base) - pivot;
    if (std::memcmp(base + at, needle.data(), m) == 0 &&
        (!wholeWord ||
         ((at == 0 || !IsWordChar(static_cast<wchar_t>(UnitBefore(all, at)))) &&
          (at + m >= all.size() || !IsWordChar(static_cast<wchar_t>(UnitAt(all, at + m))))))) {
      return at;
    }
    from = at + 1;
  }
  return std::string_view::npos;
}

bool FoldedCardTexts::Matches(size_t card, std::wstring_view foldedNeedle, bool wholeWord) const {
  if (foldedNeedle.empty() || card + 1 >= cardStart_.size()) return false;
  std::string needle;
  AppendUnits(needle, foldedNeedle);
  if (foldedNeedle.find(L'\0') != std::wstring_view::npos) {
    // Such a needle could span two texts of the buffer; read them one by one.
    const std::string_view texts(bytes_.data() + cardStart_[card],
                                 cardStart_[card + 1] - cardStart_[card]);
    size_t start = 0;
    while (start < texts.size()) {
      const size_t end = texts.find('\0', start);
      std::wstring text;
      for (size_t at = start; at < end; ++at) {
        if (!IsContinuation(static_cast<uint8_t>(texts[at]))) {
          text.push_back(static_cast<wchar_t>(UnitAt(texts, at)));
        }
      }
      if (ContainsOccurrence(text, foldedNeedle, wholeWord)) return true;
      start = end + 1;
    }
    return false;
  }
  return Find(needle, cardStart_[card], cardStart_[card + 1], wholeWord) != std::string_view::npos;
}

void FoldedCardTexts::MatchAll(const CardSet& cards, std::wstring_view foldedNeedle, bool wholeWord,
                               std::vector<uint8_t>& flags) const {
  flags.assign(CardCount(), 0);
  if (foldedNeedle.empty()) return;
  if (foldedNeedle.find(L'\0') != std::wstring_view::npos) {
    // Such a needle could span two texts of the buffer; fold text by text.
    for (size_t i = 0; i < flags.size() && i < cards.size(); ++i) {
      flags[i] = CardMatches(cards[i], foldedNeedle, wholeWord, false);
    }
    return;
  }
  std::string needle;
  AppendUnits(needle, foldedNeedle);
  size_t from = 0;
  size_t card = 0;
  for (;;) {
    const size_t at = Find(needle, from, bytes_.size(), wholeWord);
    if (at == std::string_view::npos) return;
    card =
        static_cast<size_t>(std::upper_bound(cardStart_.begin() + static_cast<std::ptrdiff_t>(card),
                                             cardStart_.end(), at) -
                            cardStart_.begin()) -
        1;
    flags[card] = 1;
    from = cardStart_[card + 1];  // the card is decided: go on with the next one
  }
}

void AttachCardsToFilter(const CardSet& cards, FilterState& state) {
  state.selected = 0;
  state.searchText.clear();
  state.matchFlags.clear();
  state.matchCount = 0;
  state.matchOrdinal = 0;
  state.folded.Clear();
  RebuildVisibleList(cards, state);
}

bool RebuildVisibleList(const CardSet& cards, FilterState& state) {
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
    return false;
  }
  state.selected = state.visibleIndices.empty() ? 0 : state.visibleIndices.front();
  UpdateMatchOrdinal(state);
  return true;
}

bool ExtendVisibleList(const CardSet& cards, FilterState& state, size_t from) {
  const auto shown = [&state] {
    return std::binary_search(state.visibleIndices.begin(), state.visibleIndices.end(),
                              state.selected);
  };
  const bool wasShown = shown();
  const std::wstring needle = LowerForMatch(state.filterText);
  if (!needle.empty()) EnsureFolded(cards, state);
  for (size_t i = from; i < cards.size(); ++i) {
    if (state.photoOnly && !HasPhoto(cards[i])) continue;
    if (needle.empty() || state.folded.Matches(i, needle, false)) state.visibleIndices.push_back(i);
  }
  if (wasShown || state.visibleIndices.empty()) return false;
  if (!shown()) state.selected = state.visibleIndices.front();
  UpdateMatchOrdinal(state);
  return true;
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

std::wstring LoadingStatusText(size_t cardCount, uint64_t bytesRead, uint64_t fileSize,
                               bool russian) {
  std::wstring text = russian ? L"Загрузка… " : L"Loading… ";
  AppendNumber(text, cardCount);
  if (!russian) text += L" cards";
  text += L" (";
  AppendNumber(text, fileSize == 0 ? 100 : std::min<uint64_t>(bytesRead, fileSize) * 100 / fileSize);
  text += L"%)";
  return text;
}

}  // namespace kontaktel
