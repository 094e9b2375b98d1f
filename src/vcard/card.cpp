#include "vcard/card.h"

#include <algorithm>

#include "vcard/card_parser.h"

namespace kontaktel {

std::wstring_view ViewOf(const CardSet& set, const TextSpan& span) { return set.Text(span); }

TypedValue ViewOf(const CardSet& set, const TypedRecord& record) {
  return TypedValue{set.Text(record.value),
                    TextList(&set, set.types_.data() + record.typesBegin,
                             record.typesEnd - record.typesBegin)};
}

CustomField ViewOf(const CardSet& set, const CustomRecord& record) {
  return CustomField{set.Text(record.key),
                     TextList(&set, set.customTexts_.data() + record.fieldsBegin,
                              record.fieldsEnd - record.fieldsBegin)};
}

CardProperty ViewOf(const CardSet& set, const PropertyRecord& record) {
  return CardProperty{set.Text(record.name), set.Text(record.rawPrefix), set.Text(record.value),
                      record.visible, record.freeText};
}

const CardRecord& Card::Record() const { return set_->cards_[index_]; }

template <typename Range, typename Stored>
Range Card::Run(CardList list, const std::vector<Stored>& all) const {
  const size_t begin = Record().listBegin[list];
  const size_t end =
      index_ + 1 < set_->cards_.size() ? set_->cards_[index_ + 1].listBegin[list] : all.size();
  return Range(set_, all.data() + begin, end - begin);
}

std::wstring_view Card::fullName() const { return set_->Text(Record().fullName); }
std::wstring_view Card::familyName() const { return set_->Text(Record().familyName); }
std::wstring_view Card::givenName() const { return set_->Text(Record().givenName); }
std::wstring_view Card::organization() const { return set_->Text(Record().organization); }
std::wstring_view Card::title() const { return set_->Text(Record().title); }
std::wstring_view Card::birthday() const { return set_->Text(Record().birthday); }
std::wstring_view Card::gender() const { return set_->Text(Record().gender); }
std::wstring_view Card::kind() const { return set_->Text(Record().kind); }
std::wstring_view Card::photoUrl() const { return set_->Text(Record().photoUrl); }

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

TextList Card::members() const { return Run<TextList>(kMembers, set_->texts_[kMembers]); }
TextList Card::languages() const { return Run<TextList>(kLanguages, set_->texts_[kLanguages]); }
TextList Card::urls() const { return Run<TextList>(kUrls, set_->texts_[kUrls]); }
TextList Card::addresses() const { return Run<TextList>(kAddresses, set_->texts_[kAddresses]); }
TextList Card::notes() const { return Run<TextList>(kNotes, set_->texts_[kNotes]); }
RecordRange<TypedRecord> Card::phones() const {
  return Run<RecordRange<TypedRecord>>(kPhones, set_->phones_);
}
RecordRange<TypedRecord> Card::emails() const {
  return Run<RecordRange<TypedRecord>>(kEmails, set_->emails_);
}
RecordRange<CustomRecord> Card::customFields() const {
  return Run<RecordRange<CustomRecord>>(kCustomFields, set_->custom_);
}
RecordRange<PropertyRecord> Card::properties() const {
  return Run<RecordRange<PropertyRecord>>(kProperties, set_->properties_);
}

bool CardSet::SpansInside() const {
  // Every check is and-ed in, none short-circuits: one pass over the set
  // whatever it finds, and no branch that a sound set never takes.
  const auto inside = [&](const TextSpan& span) {
    const size_t size = (span.offset & kArenaBit) ? arena_.size() : text_.size();
    const size_t offset = span.offset & ~kArenaBit;
    return (offset <= size) & (span.size <= size - std::min(offset, size));
  };
  const auto runInside = [](uint32_t begin, uint32_t end, size_t size) {
    return (begin <= end) & (end <= size);
  };
  bool ok = true;
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
            &CardRecord::photoSource);
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

void CardSet::Append(CardSet&& more) {
  if (empty()) {
    *this = std::move(more);
    return;
  }
  const auto textBase = static_cast<uint32_t>(text_.size());
  const auto arenaBase = static_cast<uint32_t>(arena_.size());
  const auto rebase = [&](TextSpan span) {
    if (span.size == 0 && span.offset == 0) return span;
    span.offset = (span.offset & kArenaBit) ? (span.offset + arenaBase) : (span.offset + textBase);
    return span;
  };
  text_ += more.text_;
  arena_ += more.arena_;
  const uint32_t listBase[kCardListCount] = {
      static_cast<uint32_t>(texts_[kMembers].size()), static_cast<uint32_t>(texts_[kLanguages].size()),
      static_cast<uint32_t>(texts_[kUrls].size()), static_cast<uint32_t>(texts_[kAddresses].size()),
      static_cast<uint32_t>(texts_[kNotes].size()), static_cast<uint32_t>(phones_.size()),
      static_cast<uint32_t>(emails_.size()), static_cast<uint32_t>(custom_.size()),
      static_cast<uint32_t>(properties_.size())};
  const auto typesBase = static_cast<uint32_t>(types_.size());
  const auto customBase = static_cast<uint32_t>(customTexts_.size());
  for (size_t list = 0; list < kPhones; ++list) {
    for (const TextSpan span : more.texts_[list]) texts_[list].push_back(rebase(span));
  }
  for (auto [from, to] : {std::pair{&more.phones_, &phones_}, std::pair{&more.emails_, &emails_}}) {
    for (TypedRecord typed : *from) {
      typed.value = rebase(typed.value);
      typed.typesBegin += typesBase;
      typed.typesEnd += typesBase;
      to->push_back(typed);
    }
  }
  for (CustomRecord custom : more.custom_) {
    custom.key = rebase(custom.key);
    custom.fieldsBegin += customBase;
    custom.fieldsEnd += customBase;
    custom_.push_back(custom);
  }
  for (PropertyRecord property : more.properties_) {
    property.name = rebase(property.name);
    property.rawPrefix = rebase(property.rawPrefix);
    property.value = rebase(property.value);
    properties_.push_back(property);
  }
  for (const TextSpan span : more.types_) types_.push_back(rebase(span));
  for (const TextSpan span : more.customTexts_) customTexts_.push_back(rebase(span));
  for (CardRecord card : more.cards_) {
    for (TextSpan* span : {&card.fullName, &card.familyName, &card.givenName, &card.organization,
                           &card.title, &card.birthday, &card.gender, &card.kind, &card.photoUrl,
                           &card.photoSource, &card.source}) {
      *span = rebase(*span);
    }
    for (size_t list = 0; list < kCardListCount; ++list) card.listBegin[list] += listBase[list];
    cards_.push_back(card);
  }
  more = CardSet{};
}

size_t Card::photoSize() const { return Record().photoSize; }

TextSpan Card::source() const {
  return Record().source;
}

std::vector<uint8_t> Card::photoData() const {
  if (Record().photoSize == 0) return {};
  return DecodePhotoSource(set_->Text(Record().photoSource));
}

}  // namespace kontaktel
