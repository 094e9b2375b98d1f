// The parsed contacts of one file. A CardSet holds the file's cards in one or
// more batches; each batch owns the decoded text of its piece of the file once,
// with its values as spans into that text or into an arena beside it. Records
// are small and stored in a few arrays per batch, so a large file costs no
// allocation per card or value. Consumers read cards through light views
// whose accessors are named after the fields of the model; the views point
// into the batches, which live as long as a set that holds them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "text/source_bytes.h"

namespace kontaktel {

class CardSet;
class CardBatch;
struct PartialCards;

// A value's place: in the file's text, or in the arena when kArenaBit is set.
struct TextSpan {
  uint32_t offset = 0;
  uint32_t size = 0;
};
inline constexpr uint32_t kArenaBit = 0x80000000u;

// One telephone number or e-mail address as stored; its type tokens are a
// run of the set's type array.
struct TypedRecord {
  TextSpan value;
  uint32_t typesBegin = 0;
  uint32_t typesEnd = 0;
};

// One X-ANDROID-CUSTOM line as stored; its fields are a run of the set's
// custom text array.
struct CustomRecord {
  TextSpan key;
  uint32_t fieldsBegin = 0;
  uint32_t fieldsEnd = 0;
};

// One property line as stored.
struct PropertyRecord {
  TextSpan name;
  TextSpan rawPrefix;
  TextSpan value;
  bool visible = true;
  bool freeText = false;
};

// The lists of a card, each a run of a set-wide array.
enum CardList : uint8_t {
  kMembers,
  kLanguages,
  kUrls,
  kAddresses,
  kNotes,
  kPhones,
  kEmails,
  kCustomFields,
  kProperties,
  kCardListCount
};

// One card as stored: its single-valued fields and where each of its lists
// begins. A list ends where the next card's begins. `url`, `language` and
// `note` are the first of their lists and need no field of their own.
struct CardRecord {
  TextSpan fullName;
  TextSpan familyName;
  TextSpan givenName;
  TextSpan organization;
  TextSpan title;
  TextSpan birthday;
  TextSpan gender;
  TextSpan kind;
  TextSpan photoUrl;
  TextSpan photoSource;    // the embedded photo's PHOTO line and the lines it took in
  uint32_t photoSize = 0;  // bytes that photo decodes to; 0 when there is none
  // Where photoSource's characters are in the batch's photo bytes, when they
  // were moved there; photoSource then gives their length, and where they
  // stood in the text, which no longer holds them.
  uint32_t photoBytesAt = UINT32_MAX;
  TextSpan source;         // the card's own lines, BEGIN to END and its line break
  uint32_t listBegin[kCardListCount] = {};
};

struct TypedValue;
struct CustomField;

// One property line as the details view shows it.
struct CardProperty {
  std::wstring_view name;       // upper case, group removed: TEL for item1.tel;type=CELL
  std::wstring_view rawPrefix;  // text before the first ":" as written
  std::wstring_view value;      // decoded and unescaped; empty for PHOTO
  bool visible = true;          // false for X-ABLABEL and PHOTO records
  bool freeText = false;        // NOTE records, kept even when empty
};

std::wstring_view ViewOf(const CardBatch& batch, const TextSpan& span);
TypedValue ViewOf(const CardBatch& batch, const TypedRecord& record);
CustomField ViewOf(const CardBatch& batch, const CustomRecord& record);
CardProperty ViewOf(const CardBatch& batch, const PropertyRecord& record);

// A run of records of a batch, read as views.
template <typename Record>
class RecordRange {
 public:
  using value_type =
      decltype(ViewOf(std::declval<const CardBatch&>(), std::declval<const Record&>()));

  class iterator {
   public:
    using iterator_category = std::input_iterator_tag;
    using value_type = RecordRange::value_type;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = value_type;

    iterator(const CardBatch* set, const Record* at) : set_(set), at_(at) {}
    value_type operator*() const { return ViewOf(*set_, *at_); }
    iterator& operator++() {
      ++at_;
      return *this;
    }
    iterator operator++(int) {
      iterator before = *this;
      ++at_;
      return before;
    }
    bool operator==(const iterator& other) const { return at_ == other.at_; }
    bool operator!=(const iterator& other) const { return at_ != other.at_; }

   private:
    const CardBatch* set_;
    const Record* at_;
  };

  RecordRange() = default;
  RecordRange(const CardBatch* set, const Record* first, size_t count)
      : set_(set), first_(first), count_(count) {}

  size_t size() const { return count_; }
  bool empty() const { return count_ == 0; }
  value_type operator[](size_t i) const { return ViewOf(*set_, first_[i]); }
  value_type front() const { return (*this)[0]; }
  iterator begin() const { return iterator(set_, first_); }
  iterator end() const { return iterator(set_, first_ + count_); }

 private:
  const CardBatch* set_ = nullptr;
  const Record* first_ = nullptr;
  size_t count_ = 0;
};

class TextList : public RecordRange<TextSpan> {
 public:
  using RecordRange<TextSpan>::RecordRange;
};

struct TypedValue {
  std::wstring_view value;  // decoded; never empty
  TextList types;           // upper-case type tokens in line order, duplicates kept
};

// One X-ANDROID-CUSTOM line.
struct CustomField {
  std::wstring_view key;  // text before the first ":", empty when there is none
  TextList fields;        // the rest split at ";"; never empty
};

// One card of a set: where it is stored and its index, cheap to copy.
class Card {
 public:
  Card(const CardSet& set, size_t index);

  size_t index() const { return index_; }

  std::wstring_view fullName() const;
  std::wstring_view familyName() const;
  std::wstring_view givenName() const;
  std::wstring_view organization() const;
  std::wstring_view title() const;
  std::wstring_view url() const;  // the first of urls(), or empty
  std::wstring_view birthday() const;
  std::wstring_view note() const;  // the first of notes(), or empty
  std::wstring_view gender() const;
  std::wstring_view language() const;  // the first of languages(), or empty
  std::wstring_view kind() const;
  TextList members() const;
  TextList languages() const;
  TextList urls() const;
  RecordRange<TypedRecord> phones() const;
  RecordRange<TypedRecord> emails() const;
  TextList addresses() const;
  std::wstring_view photoUrl() const;
  TextList notes() const;
  RecordRange<CustomRecord> customFields() const;
  RecordRange<PropertyRecord> properties() const;

  // The embedded photo: how many bytes it decodes to (0 when the card has
  // none), and the bytes themselves, decoded on each call.
  size_t photoSize() const;
  bool hasPhotoData() const { return photoSize() != 0; }
  std::vector<uint8_t> photoData() const;

  // The card's own lines as read: from its BEGIN line to the end of its END
  // line, that line's break included.
  std::wstring sourceText() const;
  // The bytes of the file that those lines were read from, when `file` holds
  // the bytes the set was read from and line breaks place them exactly.
  std::optional<std::string> sourceBytes(const FileBytes& file) const;

 private:
  const CardRecord& Record() const;
  template <typename Range, typename Stored>
  Range Run(CardList list, const std::vector<Stored>& all) const;

  const CardBatch* batch_;
  size_t local_;  // the card's index in its batch
  size_t index_;
};

// The cards of one piece of a file, with the piece's text: every value that
// is a plain slice of the text is held as a span into it, and the values that
// had to be transformed (decoded, unescaped, joined, upper-cased) live in one
// arena beside it. The text is the batch's own, or a slice of the whole
// file's text that the batches of that file share. A batch never changes once
// it is made.
class CardBatch {
 public:
  size_t size() const { return cards_.size(); }
  std::wstring_view text() const { return text_; }
  std::wstring_view Text(TextSpan span) const {
    if (span.offset & kArenaBit)
      return std::wstring_view(arena_).substr(span.offset & ~kArenaBit, span.size);
    return text_.substr(span.offset, span.size);
  }
  bool SpansInside() const;

  // Moves the lines of embedded photos, most of a file that has photos, out
  // of the text into bytes of their own: Base64 is ASCII, a byte a character
  // where the text takes two (four natively). Spans follow their characters.
  void MovePhotosOutOfText();

 private:
  friend class Card;
  friend class CardAssembler;
  friend class CardSet;
  friend class CardLoad;
  friend CardSet ParseCards(std::wstring text, unsigned fileCodePage);
  friend PartialCards ParseCardsBeforeEnd(std::wstring& text, unsigned fileCodePage, bool atEnd);
  friend PartialCards ParseCardsOfText(const std::shared_ptr<const std::wstring>& text,
                                       size_t& from, unsigned fileCodePage, size_t maxCards);
  friend TypedValue ViewOf(const CardBatch& batch, const TypedRecord& record);
  friend CustomField ViewOf(const CardBatch& batch, const CustomRecord& record);

  // Sets the batch's own text.
  void Own(std::wstring text);
  // What a batch keeps is held for as long as the file is shown: its lists
  // keep no large slack (and a small one costs no copy).
  void TrimSlack();

  std::shared_ptr<const std::wstring> textOwner_;  // the text that text_ is a slice of
  std::wstring_view text_;
  size_t textBase_ = 0;  // where text_ starts in *textOwner_
  std::wstring arena_;
  std::string photoBytes_;  // photo lines moved out of the text, ASCII
  std::vector<CardRecord> cards_;
  std::vector<TextSpan> texts_[kPhones];  // members, languages, urls, addresses, notes
  std::vector<TypedRecord> phones_;
  std::vector<TypedRecord> emails_;
  std::vector<CustomRecord> custom_;
  std::vector<PropertyRecord> properties_;
  std::vector<TextSpan> types_;        // type tokens of phones and e-mails
  std::vector<TextSpan> customTexts_;  // fields of custom fields
};

// The cards of one file in the order in which they end in it: one batch, or
// the batches of a file read in pieces. Batches are shared, never copied, and
// never move once added.
class CardSet {
 public:
  class iterator {
   public:
    using iterator_category = std::input_iterator_tag;
    using value_type = Card;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = Card;

    iterator(const CardSet* set, size_t index) : set_(set), index_(index) {}
    Card operator*() const { return Card(*set_, index_); }
    iterator& operator++() {
      ++index_;
      return *this;
    }
    iterator operator++(int) {
      iterator before = *this;
      ++index_;
      return before;
    }
    bool operator==(const iterator& other) const { return index_ == other.index_; }
    bool operator!=(const iterator& other) const { return index_ != other.index_; }

   private:
    const CardSet* set_;
    size_t index_;
  };

  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  Card operator[](size_t index) const { return Card(*this, index); }
  Card front() const { return Card(*this, 0); }
  iterator begin() const { return iterator(this, 0); }
  iterator end() const { return iterator(this, size_); }

  // Adds the cards of `more` after these (a batch of a file read in pieces).
  // Cards, views and ranges taken from this set before stay valid.
  void Append(CardSet&& more);

  // Every span inside its buffer and every run inside its array: what the
  // parse promises, checked by the fuzz target and by debug builds.
  bool SpansInside() const;

  size_t BatchCount() const { return batches_.size(); }

  // The bytes the batches hold: their texts, their photo lines, the values
  // decoded beside them, and their records.
  struct Memory {
    size_t textBytes = 0;
    size_t photoBytes = 0;
    size_t arenaBytes = 0;
    size_t recordBytes = 0;
  };
  Memory MemoryUse() const;
  const CardBatch& Batch(size_t i) const { return *batches_[i]; }

 private:
  friend class Card;
  friend CardSet ParseCards(std::wstring text, unsigned fileCodePage);
  friend class CardLoad;
  void Add(std::shared_ptr<const CardBatch> batch);

  std::vector<std::shared_ptr<const CardBatch>> batches_;
  std::vector<size_t> firstCards_;  // the index of each batch's first card
  size_t size_ = 0;
};

}  // namespace kontaktel
