// Matching a needle against the texts of cards: the filter of the contact
// list, the host's search marks, and the status line that reports both.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "vcard/card.h"

namespace kontaktel {

// Substring test. Without `caseSensitive` the haystack is folded with
// LowerForMatch and the needle is taken as given (callers fold it). With
// `wholeWord` an occurrence counts only when the characters next to it are not
// alphanumeric.
bool TextContains(std::wstring_view haystack, std::wstring_view needle, bool wholeWord,
                  bool caseSensitive);

// TextContains over every text of the card, in the order of ForEachMatchText;
// false for an empty needle.
bool CardMatches(const Card& card, std::wstring_view needle, bool wholeWord, bool caseSensitive);

// Calls `visit` with each text of a card that matching reads, in this order:
// property values, custom fields (key, then fields), the fixed fields, notes,
// phones and e-mails (value, then types), addresses, URLs, languages, members.
// Stops at the first call that returns true, and returns whether one did.
template <typename Visit>
bool ForEachMatchText(const Card& card, Visit&& visit) {
  for (const CardProperty property : card.properties()) {
    if (!property.value.empty() && visit(property.value)) return true;
  }
  for (const CustomField custom : card.customFields()) {
    if (visit(custom.key)) return true;
    for (const std::wstring_view field : custom.fields) {
      if (visit(field)) return true;
    }
  }
  for (const std::wstring_view field :
       {card.fullName(), card.givenName(), card.familyName(), card.organization(), card.title(),
        card.birthday(), card.url(), card.note(), card.gender(), card.language(), card.kind(),
        card.photoUrl()}) {
    if (visit(field)) return true;
  }
  for (const std::wstring_view note : card.notes()) {
    if (visit(note)) return true;
  }
  for (const auto& list : {card.phones(), card.emails()}) {
    for (const TypedValue typed : list) {
      if (visit(typed.value)) return true;
      for (const std::wstring_view type : typed.types) {
        if (visit(type)) return true;
      }
    }
  }
  for (const TextList& list : {card.addresses(), card.urls(), card.languages(), card.members()}) {
    for (const std::wstring_view text : list) {
      if (visit(text)) return true;
    }
  }
  return false;
}

// The match texts of every card folded once, so that a filter keystroke scans
// one buffer instead of folding every text of every card anew. Answers exactly
// as CardMatches with case folding does.
class FoldedCardTexts {
 public:
  void Build(const CardSet& cards);
  // Adds the texts of the cards that follow those these were built from
  // (`more` built from the next batch of a file read in pieces).
  void Append(FoldedCardTexts&& more);
  // Gives back the room that appending kept for more.
  void ShrinkToFit();
  void Clear();
  bool Built() const { return built_; }
  size_t CardCount() const { return cardStart_.empty() ? 0 : cardStart_.size() - 1; }
  size_t TextBytes() const { return bytes_.size(); }

  // CardMatches(cards[card], foldedNeedle, wholeWord, false).
  bool Matches(size_t card, std::wstring_view foldedNeedle, bool wholeWord) const;
  // Sets flags[i] to 1 for every card i that Matches, 0 for the others.
  // `cards` are the cards the texts were built from.
  void MatchAll(const CardSet& cards, std::wstring_view foldedNeedle, bool wholeWord,
                std::vector<uint8_t>& flags) const;

 private:
  // Each card's distinct folded texts, each followed by a 0 byte. Every code
  // unit is written in UTF-8's scheme extended to any 32-bit value: the code
  // is prefix-free and self-synchronising, so a needle written the same way
  // occurs in the bytes exactly where it occurs in the units, at a fraction of
  // the memory that a filter keystroke has to read. No folded needle holds a
  // NUL, so no occurrence spans two texts, and the 0 byte next to an
  // occurrence reads as the text's edge for the whole-word rule.
  std::string bytes_;
  std::vector<size_t> cardStart_;  // one entry per card, and the end
  // How often each byte value occurs: needles are sought by their rarest byte.
  std::vector<size_t> byteCounts_;
  bool built_ = false;

  size_t Find(std::string_view needle, size_t from, size_t end, bool wholeWord) const;
};

// The part of a viewer's state that filtering and search own.
struct FilterState {
  std::vector<uint64_t> visibleIndices;  // the shown cards, in file order
  uint64_t selected = 0;                 // index into the cards
  std::wstring searchText;               // the host's last search
  std::vector<uint8_t> matchFlags;       // 1 per card matching searchText
  uint32_t matchCount = 0;
  uint32_t matchOrdinal = 0;  // 1-based place of `selected` among the matches, 0 when none
  std::wstring filterText;
  bool photoOnly = false;
  // Built on the first filter or search after AttachCardsToFilter.
  FoldedCardTexts folded;
};

// New cards: selection and search start over; the filter text and the
// photo-only state stay, and the visible list is rebuilt for the new cards.
void AttachCardsToFilter(const CardSet& cards, FilterState& state);

// Recomputes visibleIndices from filterText and photoOnly, and repairs the
// selection when the selected card is no longer shown: it is then the first
// shown card (or 0), and true tells the view to start again at the top.
bool RebuildVisibleList(const CardSet& cards, FilterState& state);

// Cards from `from` on were added to `cards`: those the filter shows join the
// visible list. When the selected card is not shown and one now is, the first
// shown card becomes the selected one. True when the selected card has just
// come into view, so that the view shows it.
bool ExtendVisibleList(const CardSet& cards, FilterState& state, size_t from);

// Fills matchFlags, matchCount and matchOrdinal for searchText.
void ComputeSearchMatches(const CardSet& cards, FilterState& state, bool wholeWord,
                          bool caseSensitive);

// Recomputes matchOrdinal for the selected card.
void UpdateMatchOrdinal(FilterState& state);

// The card the host's search stops at: from startIndex (modulo the number of
// cards) onwards or backwards, wrapping around, the first card that matches the
// search last computed; nothing when no card does.
std::optional<uint64_t> FindSearchHit(const CardSet& cards, const FilterState& state,
                                      uint64_t startIndex, bool backwards);

// The status line under the contact list, such as
// "Contacts: 7/120  (3/120)  📷  |  Found: 5 (2/5)".
std::wstring StatusText(size_t cardCount, const FilterState& state, bool russian);

// The status line while a file is still being read: "Loading… 120 cards (45%)",
// the whole percent of the file's bytes read so far.
std::wstring LoadingStatusText(size_t cardCount, uint64_t bytesRead, uint64_t fileSize,
                               bool russian);

}  // namespace kontaktel
