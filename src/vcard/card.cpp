#include "vcard/card.h"

#include <algorithm>

#include "text/utf8.h"
#include "vcard/card_parser.h"

namespace kontaktel {

std::wstring_view ViewOf(const CardBatch& batch, const TextSpan& span) { return batch.Text(span); }

TypedValue ViewOf(const CardBatch& batch, const TypedRecord& record) {
  return TypedValue{batch.Text(record.value),
                    TextList(&batch, batch.types_.data() + record.typesBegin,
                             record.typesEnd - record.typesBegin)};
}

CustomField ViewOf(const CardBatch& batch, const CustomRecord& record) {
  return CustomField{batch.Text(record.key),
                     TextList(&batch, batch.customTexts_.data() + record.fieldsBegin,
                              record.fieldsEnd - record.fieldsBegin)};
}

CardProperty ViewOf(const CardBatch& batch, const PropertyRecord& record) {
  return CardProperty{batch.Text(record.name), batch.Text(record.rawPrefix),
                      batch.Text(record.value), record.visible, record.freeText};
}

Card::Card(const CardSet& set, size_t index) : index_(index) {
  // Most sets are one batch; a file read in pieces has a few hundred at most.
  size_t batch = 0;
  if (set.batches_.size() > 1) {
    batch = static_cast<size_t>(
        std::upper_bound(set.firstCards_.begin(), set.firstCards_.end(), index) -
        set.firstCards_.begin() - 1);
  }
  batch_ = set.batches_.empty() ? nullptr : set.batches_[batch].get();
  local_ = set.batches_.empty() ? 0 : index - set.firstCards_[batch];
}

const CardRecord& Card::Record() const { return batch_->cards_[local_]; }

template <typename Range, typename Stored>
Range Card::Run(CardList list, const std::vector<Stored>& all) const {
  const size_t begin = Record().listBegin[list];
  const size_t end =
      local_ + 1 < batch_->cards_.size() ? batch_->cards_[local_ + 1].listBegin[list] : all.size();
  return Range(batch_, all.data() + begin, end - begin);
}

std::wstring_view Card::fullName() const { return batch_->Text(Record().fullName); }
std::wstring_view Card::familyName() const { return batch_->Text(Record().familyName); }
std::wstring_view Card::givenName() const { return batch_->Text(Record().givenName); }
std::wstring_view Card::organization() const { return batch_->Text(Record().organization); }
std::wstring_view Card::title() const { return batch_->Text(Record().title); }
std::wstring_view Card::birthday() const { return batch_->Text(Record().birthday); }
std::wstring_view Card::gender() const { return batch_->Text(Record().gender); }
std::wstring_view Card::kind() const { return batch_->Text(Record().kind); }
std::wstring_view Card::photoUrl() const { return batch_->Text(Record().photoUrl); }

std::wstring_view Card::url() const {
  const TextList all = urls();
  return all.empty() ? std::wstring_view() : all.front();
}
std::wstring_view Card::note() const {
  const TextList all = notes();
  return all.empty() ? std::wstring_view() : all.front();
}
std::wstring_view Card::language() const {
  const TextList all = languages();
  return all.empty() ? std::wstring_view() : all.front();
}

TextList Card::members() const { return Run<TextList>(kMembers, batch_->texts_[kMembers]); }
TextList Card::languages() const {
  return Run<TextList>(kLanguages, batch_->texts_[kLanguages]);
}
TextList Card::urls() const { return Run<TextList>(kUrls, batch_->texts_[kUrls]); }
TextList Card::addresses() const {
  return Run<TextList>(kAddresses, batch_->texts_[kAddresses]);
}
TextList Card::notes() const { return Run<TextList>(kNotes, batch_->texts_[kNotes]); }
RecordRange<TypedRecord> Card::phones() const {
  return Run<RecordRange<TypedRecord>>(kPhones, batch_->phones_);
}
RecordRange<TypedRecord> Card::emails() const {
  return Run<RecordRange<TypedRecord>>(kEmails, batch_->emails_);
}
RecordRange<CustomRecord> Card::customFields() const {
  return Run<RecordRange<CustomRecord>>(kCustomFields, batch_->custom_);
}
RecordRange<PropertyRecord> Card::properties() const {
  return Run<RecordRange<PropertyRecord>>(kProperties, batch_->properties_);
}

bool CardBatch::SpansInside() const {
  // Every check is and-ed in, none short-circuits: one pass over the batch
  // whatever it finds, and no branch that a sound batch never takes.
  const auto inside = [&](const TextSpan& span) {
    const size_t size = (span.offset & kArenaBit) ? arena_.size() : text_.size();
    const size_t offset = span.offset & ~kArenaBit;
    return (offset <= size) & (span.size <= size - std::min(offset, size));
  };
  const auto runInside = [](uint32_t begin, uint32_t end, size_t size) {
    return (begin <= end) & (end <= size);
  };
  bool ok = !textOwner_ || (textBase_ <= textOwner_->size() &&
                            text_.size() <= textOwner_->size() - textBase_ &&
                            text_.data() == textOwner_->data() + textBase_);
  const auto allInside = [&](const auto& records, auto... fields) {
    for (const auto& record : records) ok &= (inside(record.*fields) & ...);
  };
  for (const std::vector<TextSpan>& list : texts_) {
    for (const TextSpan& span : list) ok &= inside(span);
  }
  for (const std::vector<TextSpan>* list : {&types_, &customTexts_}) {
    for (const TextSpan& span : *list) ok &= inside(span);
  }
  allInside(phones_, &TypedRecord::value);
  allInside(emails_, &TypedRecord::value);
  allInside(custom_, &CustomRecord::key);
  allInside(properties_, &PropertyRecord::name, &PropertyRecord::rawPrefix,
            &PropertyRecord::value);
  allInside(cards_, &CardRecord::fullName, &CardRecord::familyName, &CardRecord::givenName,
            &CardRecord::organization, &CardRecord::title, &CardRecord::birthday,
            &CardRecord::gender, &CardRecord::kind, &CardRecord::photoUrl, &CardRecord::source);
  for (const CardRecord& card : cards_) {
    ok &= (card.source.offset & kArenaBit) == 0;
    if (card.photoBytesAt == UINT32_MAX) {
      ok &= inside(card.photoSource);
    } else {
      // Moved photo lines: their bytes, and where they stood in the card.
      ok &= (card.photoBytesAt <= photoBytes_.size()) &
            (card.photoSource.size <= photoBytes_.size() - std::min<size_t>(card.photoBytesAt, photoBytes_.size())) &
            (card.photoSource.offset >= card.source.offset) &
            (card.photoSource.offset <= card.source.offset + card.source.size);
    }
  }
  for (const std::vector<TypedRecord>* list : {&phones_, &emails_}) {
    for (const TypedRecord& typed : *list)
      ok &= runInside(typed.typesBegin, typed.typesEnd, types_.size());
  }
  for (const CustomRecord& custom : custom_)
    ok &= runInside(custom.fieldsBegin, custom.fieldsEnd, customTexts_.size());
  // Each card's lists begin where the card before it ends theirs.
  const size_t listSizes[kCardListCount] = {
      texts_[kMembers].size(), texts_[kLanguages].size(), texts_[kUrls].size(),
      texts_[kAddresses].size(), texts_[kNotes].size(), phones_.size(), emails_.size(),
      custom_.size(), properties_.size()};
  for (size_t list = 0; list < kCardListCount; ++list) {
    uint32_t begin = 0;
    for (const CardRecord& card : cards_) {
      ok &= runInside(begin, card.listBegin[list], listSizes[list]);
      begin = card.listBegin[list];
    }
  }
  return ok;
}

bool CardSet::SpansInside() const {
  bool ok = true;
  for (const auto& batch : batches_) ok &= batch->SpansInside();
  return ok;
}

void CardBatch::MovePhotosOutOfText() {
  // Each card holds at most one photo's lines, inside its own lines: the
  // ranges are disjoint and in text order.
  struct Cut {
    uint32_t begin, end;
    size_t removedBefore;  // by the cuts before this one
  };
  std::vector<Cut> cuts;
  size_t removed = 0;
  for (const CardRecord& card : cards_) {
    const TextSpan photo = card.photoSource;
    if (card.photoSize == 0 || (photo.offset & kArenaBit) || photo.size == 0) continue;
    const std::wstring_view lines = Text(photo);
    if (std::any_of(lines.begin(), lines.end(), [](wchar_t c) { return c >= 0x80; })) continue;
    cuts.push_back({photo.offset, photo.offset + photo.size, removed});
    removed += photo.size;
  }
  if (cuts.empty()) return;
  std::wstring text;
  text.reserve(text_.size() - removed);
  photoBytes_.reserve(photoBytes_.size() + removed);
  size_t at = 0;
  for (const Cut& cut : cuts) {
    text.append(text_.substr(at, cut.begin - at));
    for (size_t i = cut.begin; i < cut.end; ++i) photoBytes_ += static_cast<char>(text_[i]);
    at = cut.end;
  }
  text.append(text_.substr(at));
  // The cut a text offset is in or after.
  const auto cutAt = [&](uint32_t offset) {
    return std::upper_bound(cuts.begin(), cuts.end(), offset,
                            [](uint32_t o, const Cut& cut) { return o < cut.end; });
  };
  const auto remap = [&](TextSpan& span) {
    if ((span.offset & kArenaBit) || span.size == 0) return;
    const auto next = cutAt(span.offset);
    if (next != cuts.end() && span.offset >= next->begin) {
      // A span within photo lines (the PHOTO record's name and prefix) moves
      // to the arena.
      const std::wstring_view value = Text(span);
      span = {static_cast<uint32_t>(arena_.size()) | kArenaBit, span.size};
      arena_.append(value);
      return;
    }
    const size_t before = next == cuts.end() ? removed : next->removedBefore;
    span.offset -= static_cast<uint32_t>(before);
  };
  for (auto& list : texts_) std::for_each(list.begin(), list.end(), remap);
  std::for_each(types_.begin(), types_.end(), remap);
  std::for_each(customTexts_.begin(), customTexts_.end(), remap);
  for (auto* list : {&phones_, &emails_}) {
    for (TypedRecord& typed : *list) remap(typed.value);
  }
  for (CustomRecord& custom : custom_) remap(custom.key);
  for (PropertyRecord& property : properties_) {
    remap(property.name);
    remap(property.rawPrefix);
    remap(property.value);
  }
  size_t photoAt = 0;
  for (CardRecord& card : cards_) {
    for (TextSpan* span : {&card.fullName, &card.familyName, &card.givenName, &card.organization,
                           &card.title, &card.birthday, &card.gender, &card.kind, &card.photoUrl}) {
      remap(*span);
    }
    const auto cut = cutAt(card.source.offset);
    const bool moved = cut != cuts.end() && card.photoSize != 0 &&
                       card.photoSource.offset == cut->begin &&
                       !(card.photoSource.offset & kArenaBit);
    const size_t before = cut == cuts.end() ? removed : cut->removedBefore;
    card.source.offset -= static_cast<uint32_t>(before);
    if (moved) {
      card.source.size -= cut->end - cut->begin;
      card.photoSource.offset = cut->begin - static_cast<uint32_t>(cut->removedBefore);
      card.photoBytesAt = static_cast<uint32_t>(photoAt);
      photoAt += cut->end - cut->begin;
    } else {
      remap(card.photoSource);
    }
  }
  Own(std::move(text));
}

void CardBatch::TrimSlack() {
  const auto trim = [](auto& list) {
    if (list.capacity() - list.size() > list.capacity() / 8) list.shrink_to_fit();
  };
  trim(arena_);
  trim(cards_);
  for (auto& list : texts_) trim(list);
  trim(phones_);
  trim(emails_);
  trim(custom_);
  trim(properties_);
  trim(types_);
  trim(customTexts_);
}

void CardBatch::Own(std::wstring text) {
  auto owner = std::make_shared<std::wstring>(std::move(text));
  text_ = *owner;
  textBase_ = 0;
  textOwner_ = std::move(owner);
}

CardSet::Memory CardSet::MemoryUse() const {
  Memory memory;
  const auto bytes = [](const auto& list) { return list.capacity() * sizeof(list[0]); };
  const std::wstring* counted = nullptr;  // batches of one text follow each other
  for (const auto& batch : batches_) {
    if (batch->textOwner_ && batch->textOwner_.get() != counted) {
      counted = batch->textOwner_.get();
      memory.textBytes += counted->capacity() * sizeof(wchar_t);
    }
    memory.photoBytes += batch->photoBytes_.capacity();
    memory.arenaBytes += batch->arena_.capacity() * sizeof(wchar_t);
    memory.recordBytes += bytes(batch->cards_) + bytes(batch->phones_) + bytes(batch->emails_) +
                          bytes(batch->custom_) + bytes(batch->properties_) +
                          bytes(batch->types_) + bytes(batch->customTexts_);
    for (const auto& list : batch->texts_) memory.recordBytes += bytes(list);
  }
  return memory;
}

void CardSet::Add(std::shared_ptr<const CardBatch> batch) {
  if (!batch || batch->size() == 0) return;
  firstCards_.push_back(size_);
  size_ += batch->size();
  batches_.push_back(std::move(batch));
}

void CardSet::Append(CardSet&& more) {
  // Both lists are reserved first: a failed allocation leaves this set as it was.
  batches_.reserve(batches_.size() + more.batches_.size());
  firstCards_.reserve(firstCards_.size() + more.batches_.size());
  for (auto& batch : more.batches_) Add(std::move(batch));
  more = CardSet{};
}

size_t Card::photoSize() const { return Record().photoSize; }

namespace {

std::wstring Widened(std::string_view ascii) { return std::wstring(ascii.begin(), ascii.end()); }

}  // namespace

std::wstring Card::sourceText() const {
  const CardRecord& card = Record();
  const std::wstring_view source = batch_->Text(card.source);
  if (card.photoBytesAt == UINT32_MAX) return std::wstring(source);
  // The photo lines go back where they stood.
  const size_t at = card.photoSource.offset - card.source.offset;
  std::wstring text(source.substr(0, at));
  text += Widened(std::string_view(batch_->photoBytes_).substr(card.photoBytesAt, card.photoSource.size));
  text += source.substr(at);
  return text;
}

std::optional<std::string> Card::sourceBytes(const FileBytes& file) const {
  if (file.textIsUtf8) return WideToUtf8(sourceText());
  // Kept bytes belong to a file read whole: its batches share its text.
  if (!batch_->textOwner_) return std::nullopt;
  const TextSpan span = Record().source;
  const size_t begin = batch_->textBase_ + span.offset;
  const std::optional<std::string_view> found =
      SourceBytes(file, *batch_->textOwner_, begin, begin + span.size);
  if (!found) return std::nullopt;
  return std::string(*found);
}

std::vector<uint8_t> Card::photoData() const {
  const CardRecord& card = Record();
  if (card.photoSize == 0) return {};
  if (card.photoBytesAt == UINT32_MAX) return DecodePhotoSource(batch_->Text(card.photoSource));
  return DecodePhotoSource(Widened(
      std::string_view(batch_->photoBytes_).substr(card.photoBytesAt, card.photoSource.size)));
}

}  // namespace kontaktel
