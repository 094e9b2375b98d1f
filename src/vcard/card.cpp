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
  bool ok = byteBegin_ <= byteEnd_;
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
            &CardRecord::gender, &CardRecord::kind, &CardRecord::photoUrl,
            &CardRecord::photoSource, &CardRecord::source);
  for (const CardRecord& card : cards_) ok &= (card.source.offset & kArenaBit) == 0;
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

std::wstring_view Card::sourceText() const { return batch_->Text(Record().source); }

std::optional<std::string> Card::sourceBytes(const FileBytes& file) const {
  if (file.textIsUtf8) return WideToUtf8(sourceText());
  // A set parsed from a whole text stands for the whole file, however long.
  const uint64_t end = std::min<uint64_t>(batch_->byteEnd_, file.bytes.size());
  if (batch_->byteBegin_ > end) return std::nullopt;
  const std::string_view bytes = std::string_view(file.bytes).substr(
      static_cast<size_t>(batch_->byteBegin_), static_cast<size_t>(end - batch_->byteBegin_));
  const TextSpan span = Record().source;
  const std::optional<std::string_view> found = SourceBytes(
      bytes, file.codePage, batch_->byteBegin_ == 0, batch_->text_, span.offset,
      span.offset + span.size);
  if (!found) return std::nullopt;
  return std::string(*found);
}

std::vector<uint8_t> Card::photoData() const {
  if (Record().photoSize == 0) return {};
  return DecodePhotoSource(batch_->Text(Record().photoSource));
}

}  // namespace kontaktel
