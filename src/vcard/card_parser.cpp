#include "vcard/card_parser.h"

#include <algorithm>
#include <array>
#include <cassert>

#include "text/charset.h"
#include "text/code_page_guess.h"
#include "text/platform.h"
#include "text/text_util.h"
#include "text/utf8.h"
#include "vcard/line_split.h"
#include "vcard/property_line.h"
#include "vcard/value_decode.h"

namespace kontaktel {

using namespace std::string_view_literals;

namespace {

// Bookkeeping that the details never show as a line of its own.
// clang-format off
constexpr std::array<std::wstring_view, 14> kHiddenNames{
    L"BEGIN",      L"END",          L"VERSION", L"PHOTO",
    L"X-ABLABEL",  L"UID",          L"PRODID",  L"CLIENTPIDMAP",
    L"X-ADDRESSING-GRAMMAR",        L"X-ABUID", L"X-ABSHOWAS",
    L"X-IMAGETYPE", L"X-IMAGEHASH", L"X-SHARED-PHOTO-DISPLAY-PREF",
};
// clang-format on

bool IsHidden(std::wstring_view name) {
  for (const std::wstring_view hidden : kHiddenNames) {
    if (name == hidden) return true;
  }
  return false;
}

// The non-empty trimmed segments of a decoded structured value, joined.
void JoinNonEmptySegments(std::wstring_view decoded, std::wstring_view separator,
                          std::wstring& joined) {
  joined.clear();
  size_t start = 0;
  for (;;) {
    const size_t end = decoded.find(L';', start);
    const std::wstring_view trimmed = TrimSpace(decoded.substr(
        start, end == std::wstring_view::npos ? std::wstring_view::npos : end - start));
    if (!trimmed.empty()) {
      if (!joined.empty()) joined += separator;
      joined += trimmed;
    }
    if (end == std::wstring_view::npos) return;
    start = end + 1;
  }
}

// vCard 4.0 embeds a photo as a data URI, "data:image/jpeg;base64,/9j/...".
// Its header is not Base64: fed to the decoder it would shift every byte.
std::wstring_view SkipDataUriHeader(std::wstring_view data) {
  if (data.size() < 5 || !EqualsAsciiUpper(data.substr(0, 5), L"DATA:")) return data;
  const size_t comma = data.find(L',');
  if (comma == std::wstring_view::npos) return data;
  const std::wstring header = AsciiUpper(data.substr(0, comma));
  if (header.find(L";BASE64") == std::wstring::npos) return data;
  return data.substr(comma + 1);
}

bool HasLowerAscii(std::wstring_view text) {
  return std::any_of(text.begin(), text.end(), [](wchar_t c) { return c >= L'a' && c <= L'z'; });
}

// A value without quoted-printable, with its trailing "=" removed and then
// unescaped: a view of `text` itself when there is nothing to unescape (most
// values), else of `scratch`.
std::wstring_view DecodePlain(std::wstring_view text, std::wstring& scratch) {
  const size_t end = text.find_last_not_of(L'=');
  text = text.substr(0, end == std::wstring_view::npos ? 0 : end + 1);
  if (text.find(L'\\') == std::wstring_view::npos) return text;
  scratch = UnescapeText(text);
  return scratch;
}

bool IsUtf8(const std::vector<uint8_t>& bytes, std::wstring& scratch) {
  return Utf8ToWide(reinterpret_cast<const char*>(bytes.data()), bytes.size(), true, scratch);
}

// Pages whose bytes a quoted-printable value may share with the file: not
// UTF-8 or UTF-16, which say nothing about single bytes.
bool IsFileBytePage(unsigned codePage) {
  return codePage != 0 && codePage != kCodePageUtf8 && codePage != kCodePageUtf16 &&
         codePage != 1201;
}

// The page that the quoted-printable values of a file in UTF-8 (or UTF-16)
// fit best when they name no charset and their bytes are not UTF-8: all of
// them together, by the score that guesses a whole file's page.
unsigned GuessUnnamedPage(std::wstring_view text) {
  // A megabyte of such bytes decides as well as the whole file.
  constexpr size_t kEnough = 1 << 20;
  std::string sample;
  std::wstring continued, scratch;
  PropertyLine line;
  LineReader reader(text);
  while (sample.size() < kEnough && reader.Next()) {
    const std::wstring_view trimmed = TrimSpace(reader.Line());
    if (trimmed.empty() || !ParsePropertyLine(trimmed, line) || !line.quotedPrintable ||
        FindCharsetCodePage(line.charset)) {
      continue;
    }
    continued.assign(line.value);
    ContinueQuotedPrintable(reader, continued);
    const std::vector<uint8_t> bytes = DecodeQuotedPrintable(continued);
    if (IsUtf8(bytes, scratch)) continue;
    sample.append(bytes.begin(), bytes.end());
    sample += '\n';
  }
  return GuessSingleByteCodePage(sample);
}

// The PHOTO line's data: its value and the lines it takes in.
template <typename Lines>
std::wstring_view PhotoData(const PropertyLine& line, Lines& lines, std::wstring& data) {
  data.assign(line.value);
  ContinuePhoto(lines, data);
  return data;
}

bool IsPhotoAddress(const PropertyLine& line, std::wstring_view data) {
  return !line.base64 && (StartsWith(data, L"http://") || StartsWith(data, L"https://"));
}

}  // namespace

// Builds a batch of cards line by line. Records go straight into the batch's
// arrays; a card that a second BEGIN:VCARD abandons is rolled back.
class CardAssembler {
 public:
  // `wholeText` is the file's whole text when the batch is a slice of it,
  // for what only the whole decides.
  CardAssembler(CardBatch& set, unsigned fileCodePage, std::wstring_view wholeText = {})
      : set_(set),
        reader_(set.text_),
        wholeText_(wholeText.empty() ? set.text_ : wholeText),
        wholeKnown_(!wholeText.empty()),
        unnamedPage_(IsFileBytePage(fileCodePage) ? fileCodePage : 0) {}

  // Every card of the text, the last one without END:VCARD too.
  void Run() {
    // Room for a record per 8 characters: more than any real file needs, and
    // what stays unused is never touched, so it costs address space, not
    // memory. The list is not regrown (and so never held twice) on the way.
    set_.properties_.reserve(set_.text_.size() / 8 + 16);
    // Decoded and joined values take a fraction of the text; the same holds
    // for the arena, so that it does not grow by copies in common files.
    set_.arena_.reserve(set_.text_.size() / 4);
    while (reader_.Next()) {
      HandleLine(TrimSpace(reader_.Line()));
      if (inCard_) cardEnd_ = reader_.TakenEnd();
    }
    if (inCard_) EndCard(cardEnd_);
  }

  // The cards of a text that more text follows: those that no line running
  // into the text's end took part in, so that the rest of the file cannot
  // change them. Returns where the last of them ends.
  size_t RunBeforeEnd() {
    // As in Run; the batch is trimmed once its cards are known.
    set_.properties_.reserve(set_.text_.size() / 8 + 16);
    set_.arena_.reserve(set_.text_.size() / 4);
    size_t consumed = 0;
    while (reader_.Next() && !reader_.ReachedEnd()) {
      HandleLine(TrimSpace(reader_.Line()));
      if (reader_.ReachedEnd()) break;
      if (inCard_) {
        cardEnd_ = reader_.TakenEnd();
      } else if (!set_.cards_.empty()) {
        const TextSpan last = set_.cards_.back().source;
        consumed = last.offset + last.size;
      }
    }
    if (inCard_) RollBack();
    inCard_ = false;
    return consumed;
  }

  // The first `maxCards` cards of a text that is the rest of the whole file,
  // the last one without END:VCARD too: where they end, or the text's size
  // when the text ended first.
  size_t RunCards(size_t maxCards) {
    set_.properties_.reserve(std::min(set_.text_.size() / 8, maxCards * 64) + 16);
    while (reader_.Next()) {
      HandleLine(TrimSpace(reader_.Line()));
      if (inCard_) {
        cardEnd_ = reader_.TakenEnd();
      } else if (set_.cards_.size() >= maxCards) {
        const TextSpan last = set_.cards_.back().source;
        return last.offset + last.size;
      }
    }
    if (inCard_) EndCard(cardEnd_);
    return set_.text_.size();
  }

  // A value was read in a page guessed from this text alone.
  bool GuessedPage() const { return guessedPage_; }

 private:
  void HandleLine(std::wstring_view line) {
    if (line.empty()) return;
    if (EqualsAsciiUpper(line, L"BEGIN:VCARD"sv)) {
      // A nested or repeated BEGIN drops whatever the unfinished card holds.
      if (inCard_) RollBack();
      StartCard();
      return;
    }
    if (EqualsAsciiUpper(line, L"END:VCARD"sv)) {
      if (inCard_) EndCard(reader_.TakenEnd());
      return;
    }
    if (!inCard_) return;
    if (!ParsePropertyLine(line, property_)) return;
    if (property_.quotedPrintable) {
      continued_.assign(property_.value);
      ContinueQuotedPrintable(reader_, continued_);
      property_.value = continued_;
    }
    HandleProperty(property_);
  }

  // The card's lines end with the break after its last line.
  void EndCard(size_t end) {
    const std::wstring_view text = set_.text_;
    if (end < text.size() && text[end] == L'\r') ++end;
    if (end < text.size() && text[end] == L'\n') ++end;
    card_.source = {cardStart_, static_cast<uint32_t>(end - cardStart_)};
    set_.cards_.push_back(card_);
    inCard_ = false;
  }

  void StartCard() {
    card_ = CardRecord{};
    cardStart_ = static_cast<uint32_t>(reader_.LineStart());
    card_.listBegin[kMembers] = Size(set_.texts_[kMembers]);
    card_.listBegin[kLanguages] = Size(set_.texts_[kLanguages]);
    card_.listBegin[kUrls] = Size(set_.texts_[kUrls]);
    card_.listBegin[kAddresses] = Size(set_.texts_[kAddresses]);
    card_.listBegin[kNotes] = Size(set_.texts_[kNotes]);
    card_.listBegin[kPhones] = Size(set_.phones_);
    card_.listBegin[kEmails] = Size(set_.emails_);
    card_.listBegin[kCustomFields] = Size(set_.custom_);
    card_.listBegin[kProperties] = Size(set_.properties_);
    typesBegin_ = Size(set_.types_);
    customTextsBegin_ = Size(set_.customTexts_);
    arenaBegin_ = set_.arena_.size();
    upperNamesBegin_ = upperNames_.size();
    inCard_ = true;
  }

  // Everything the card added goes, together: its records, its arena text,
  // and the names it cached, whose spans point into that arena text.
  void RollBack() {
    for (size_t list = kMembers; list <= kNotes; ++list) {
      set_.texts_[list].resize(card_.listBegin[list]);
    }
    set_.phones_.resize(card_.listBegin[kPhones]);
    set_.emails_.resize(card_.listBegin[kEmails]);
    set_.custom_.resize(card_.listBegin[kCustomFields]);
    set_.properties_.resize(card_.listBegin[kProperties]);
    set_.types_.resize(typesBegin_);
    set_.customTexts_.resize(customTextsBegin_);
    set_.arena_.resize(arenaBegin_);
    upperNames_.resize(upperNamesBegin_);
  }

  template <typename T>
  static uint32_t Size(const std::vector<T>& list) {
    return static_cast<uint32_t>(list.size());
  }

  // Where a value stands: in the file's text when it is a slice of it, else
  // copied into the arena.
  TextSpan Store(std::wstring_view value) {
    if (value.empty()) return {};
    // Views may point into the reader's or the decoder's buffers: compare
    // addresses as numbers, which is defined for unrelated objects too.
    const auto text = reinterpret_cast<uintptr_t>(set_.text_.data());
    const auto at = reinterpret_cast<uintptr_t>(value.data());
    if (at >= text && at + value.size() * sizeof(wchar_t) <=
                          text + set_.text_.size() * sizeof(wchar_t)) {
      return {static_cast<uint32_t>((at - text) / sizeof(wchar_t)),
              static_cast<uint32_t>(value.size())};
    }
    const auto offset = static_cast<uint32_t>(set_.arena_.size());
    set_.arena_.append(value);
    return {offset | kArenaBit, static_cast<uint32_t>(value.size())};
  }

  // A slice of a value already stored.
  static TextSpan Slice(TextSpan span, size_t from, size_t size) {
    return {span.offset + static_cast<uint32_t>(from), static_cast<uint32_t>(size)};
  }

  // The upper-case name: as written when it is written in upper case, else
  // one arena copy per distinct name of the file.
  TextSpan StoreName(const PropertyLine& line) {
    if (!HasLowerAscii(line.rawName)) return Store(line.rawName);
    for (const auto& [name, span] : upperNames_) {
      if (name == line.name) return span;
    }
    const TextSpan span = Store(line.name);
    upperNames_.emplace_back(line.name, span);
    return span;
  }

  // The record of one line, or nothing for the lines the details never show.
  void Add(const PropertyLine& line, TextSpan value, bool freeText = false) {
    const std::wstring_view name = line.name;
    bool visible = true;
    if (name == L"X-ABLABEL"sv) {
      visible = false;
    } else if (name == L"PHOTO"sv) {
      visible = false;
      value = {};
    } else if (IsHidden(name) || (value.size == 0 && !freeText)) {
      return;
    }
    set_.properties_.push_back(
        PropertyRecord{StoreName(line), Store(line.rawPrefix), value, visible, freeText});
  }

  // D(X): the value decoded, then unescaped. A view of `text` itself when there
  // is nothing to decode (most values), else of `scratch`.
  std::wstring_view Decode(const PropertyLine& line, std::wstring_view text,
                           std::wstring& scratch) {
    if (!line.quotedPrintable) return DecodePlain(text, scratch);
    quoted_ = DecodeQuotedPrintable(text);
    scratch = QuotedPrintableText(quoted_, line.charset, UnnamedPage(line.charset));
    if (scratch.find(L'\\') != std::wstring::npos) scratch = UnescapeText(scratch);
    return scratch;
  }

  // The page of `quoted_` when its charset names none and it is not UTF-8:
  // the file's own, or, in a UTF-8 or UTF-16 file, the one found over all
  // such values when the first of them needs it.
  unsigned UnnamedPage(std::wstring_view charset) {
    if (unnamedPage_ != 0) return unnamedPage_;
    if (FindCharsetCodePage(charset) || IsUtf8(quoted_, utf8_)) return 1251;  // not read in it
    unnamedPage_ = GuessUnnamedPage(wholeText_);
    guessedPage_ = !wholeKnown_;
    return unnamedPage_;
  }

  TextSpan DecodeAndStore(const PropertyLine& line) {
    return Store(Decode(line, line.value, scratch_));
  }

  // Values that fill a list when not empty; the first of each list is also
  // the card's single field of that name.
  void AddListed(const PropertyLine& line, CardList list) {
    const TextSpan value = DecodeAndStore(line);
    if (value.size == 0) return;
    set_.texts_[list].push_back(value);
    Add(line, value);
  }

  void AddTyped(const PropertyLine& line, std::vector<TypedRecord>& list) {
    const TextSpan value = DecodeAndStore(line);
    if (value.size == 0) return;
    TypedRecord typed{value, Size(set_.types_), 0};
    ForEachTypeToken(line.params, [&](std::wstring_view token) {
      if (HasLowerAscii(token)) {
        set_.types_.push_back(Store(AsciiUpper(token)));
      } else {
        set_.types_.push_back(Store(token));
      }
    });
    typed.typesEnd = Size(set_.types_);
    list.push_back(typed);
    Add(line, value);
  }

  void HandleName(const PropertyLine& line) {
    // Each component is decoded by itself, so an escaped ";" does not split.
    joined_.clear();
    size_t start = 0;
    for (size_t i = 0;; ++i) {
      const size_t end = line.value.find(L';', start);
      const std::wstring_view part = Decode(
          line, line.value.substr(
                    start, end == std::wstring_view::npos ? std::wstring_view::npos : end - start),
          scratch_);
      const std::wstring_view trimmed = TrimSpace(part);
      if (!trimmed.empty()) {
        if (!joined_.empty()) joined_ += L' ';
        joined_ += trimmed;
      }
      if (i == 0) card_.familyName = Store(part);
      if (i == 1) card_.givenName = Store(part);
      if (end == std::wstring_view::npos) break;
      start = end + 1;
    }
    // A single component stands as it was stored.
    if (joined_.size() == card_.familyName.size && card_.givenName.size == 0 &&
        set_.Text(card_.familyName) == joined_) {
      return Add(line, card_.familyName);
    }
    Add(line, Store(joined_));
  }

  void HandlePhoto(PropertyLine& line) {
    if (line.valueIsUrl) {
      card_.photoUrl = DecodeAndStore(line);
    } else {
      const std::wstring_view data = PhotoData(line, reader_, photo_);
      if (IsPhotoAddress(line, data)) {
        // Without lines taken in, the address is a slice of the line.
        card_.photoUrl = Store(data.size() == line.value.size() ? line.value : data);
      } else if (const size_t size = Base64DecodedSize(SkipDataUriHeader(data)); size != 0) {
        // The bytes are decoded when asked for, from the lines as written.
        card_.photoSize = static_cast<uint32_t>(size);
        card_.photoSource = {static_cast<uint32_t>(reader_.LineStart()),
                             static_cast<uint32_t>(reader_.TakenEnd() - reader_.LineStart())};
      }
    }
    Add(line, {});
  }

  // Android's custom rows: the key before the first ":", then fields split
  // at ";" that no backslash protects.
  void HandleCustom(const PropertyLine& line) {
    const std::wstring_view decoded = Decode(line, line.value, scratch_);
    const TextSpan value = Store(decoded);
    const size_t colon = decoded.find(L':');
    CustomRecord custom{{}, Size(set_.customTexts_), 0};
    size_t restBegin = 0;
    if (colon != std::wstring_view::npos) {
      custom.key = Slice(value, 0, colon);
      restBegin = colon + 1;
    }
    const std::wstring_view rest = decoded.substr(restBegin);
    size_t fieldBegin = 0;
    bool escaped = false;
    for (size_t i = 0;; ++i) {
      if (i == rest.size() || rest[i] == L';') {
        AddCustomText(value, restBegin + fieldBegin, rest.substr(fieldBegin, i - fieldBegin),
                      escaped);
        if (i == rest.size()) break;
        fieldBegin = i + 1;
        escaped = false;
      } else if (rest[i] == L'\\' && i + 1 < rest.size()) {
        escaped = true;
        ++i;
      }
    }
    custom.fieldsEnd = Size(set_.customTexts_);
    set_.custom_.push_back(custom);
    Add(line, value);
  }

  void AddCustomText(TextSpan value, size_t from, std::wstring_view field, bool escaped) {
    if (!escaped) {
      set_.customTexts_.push_back(field.empty() ? TextSpan{} : Slice(value, from, field.size()));
      return;
    }
    unescaped_.clear();
    for (size_t i = 0; i < field.size(); ++i) {
      if (field[i] == L'\\' && i + 1 < field.size()) ++i;
      unescaped_ += field[i];
    }
    set_.customTexts_.push_back(Store(unescaped_));
  }

  void HandleStructured(const PropertyLine& line, bool organization) {
    const std::wstring_view decoded = Decode(line, line.value, scratch_);
    JoinNonEmptySegments(decoded, L", ", joined_);
    if (organization) {
      // Without a non-empty segment the decoded value stays as it is.
      const std::wstring_view shown = joined_.empty() ? decoded : std::wstring_view(joined_);
      card_.organization = Store(shown == decoded ? decoded : shown);
      return Add(line, card_.organization);
    }
    if (joined_.empty()) return;
    const TextSpan address = Store(std::wstring_view(joined_) == decoded ? decoded : joined_);
    set_.texts_[kAddresses].push_back(address);
    Add(line, address);
  }

  void HandleProperty(PropertyLine& line) {
    const std::wstring_view name = line.name;
    if (name == L"N"sv) return HandleName(line);
    if (name == L"PHOTO"sv) return HandlePhoto(line);
    if (name == L"X-ANDROID-CUSTOM"sv) return HandleCustom(line);
    if (name == L"TEL"sv) return AddTyped(line, set_.phones_);
    if (name == L"EMAIL"sv) return AddTyped(line, set_.emails_);
    if (name == L"URL"sv) return AddListed(line, kUrls);
    if (name == L"LANG"sv) return AddListed(line, kLanguages);
    if (name == L"MEMBER"sv) return AddListed(line, kMembers);
    if (name == L"NOTE"sv) {
      const TextSpan note = DecodeAndStore(line);
      if (note.size != 0) set_.texts_[kNotes].push_back(note);
      return Add(line, note, true);
    }
    if (name == L"ADR"sv) return HandleStructured(line, false);
    if (name == L"ORG"sv) return HandleStructured(line, true);
    if (name == L"X-GENDER"sv) {
      const TextSpan gender = DecodeAndStore(line);
      if (card_.gender.size == 0) card_.gender = gender;
      return Add(line, gender);
    }
    TextSpan* field = FieldFor(name);
    if (field == nullptr) {
      // A hidden line other than a label leaves no record: nothing to decode.
      if (IsHidden(name) && name != L"X-ABLABEL"sv) return;
      return Add(line, DecodeAndStore(line));
    }
    *field = DecodeAndStore(line);
    Add(line, *field);
  }

  // The fields that every line of their name overwrites, an empty value too.
  TextSpan* FieldFor(std::wstring_view name) {
    if (name == L"FN"sv) return &card_.fullName;
    if (name == L"TITLE"sv) return &card_.title;
    if (name == L"BDAY"sv) return &card_.birthday;
    if (name == L"GENDER"sv) return &card_.gender;
    if (name == L"KIND"sv) return &card_.kind;
    return nullptr;
  }

  CardBatch& set_;
  LineReader reader_;
  std::wstring_view wholeText_;  // the batch's text, or the whole file's when known
  bool wholeKnown_;
  PropertyLine property_;  // reused from line to line
  bool inCard_ = false;
  CardRecord card_;
  uint32_t cardStart_ = 0;  // where the card's BEGIN line starts
  size_t cardEnd_ = 0;      // where its last line read so far ends
  uint32_t typesBegin_ = 0;
  uint32_t customTextsBegin_ = 0;
  size_t arenaBegin_ = 0;
  size_t upperNamesBegin_ = 0;
  unsigned unnamedPage_;  // 0 until a value needs it
  bool guessedPage_ = false;
  // Buffers reused from line to line.
  std::wstring continued_;  // a value extended by the quoted-printable rule
  std::wstring photo_;      // photo data extended by the photo rule
  std::wstring scratch_;    // a decoded value
  std::wstring joined_;     // a structured value joined
  std::wstring unescaped_;  // a custom field without its escapes
  std::vector<uint8_t> quoted_;  // a quoted-printable value's bytes
  std::wstring utf8_;            // the same bytes read as UTF-8, when they are
  std::vector<std::pair<std::wstring, TextSpan>> upperNames_;
};

CardSet ParseCards(std::wstring text, unsigned fileCodePage) {
  auto batch = std::make_shared<CardBatch>();
  batch->Own(std::move(text));
  CardAssembler(*batch, fileCodePage).Run();
  assert(batch->SpansInside());
  CardSet set;
  set.Add(std::move(batch));
  return set;
}

PartialCards ParseCardsBeforeEnd(std::wstring& text, unsigned fileCodePage, bool atEnd) {
  PartialCards result;
  auto batch = std::make_shared<CardBatch>();
  auto owned = std::make_shared<std::wstring>(std::move(text));
  batch->text_ = *owned;
  CardAssembler assembler(*batch, fileCodePage);
  size_t consumed = owned->size();
  if (atEnd) {
    assembler.Run();
  } else {
    consumed = assembler.RunBeforeEnd();
  }
  result.guessedPage = assembler.GuessedPage();
  text.assign(*owned, consumed, std::wstring::npos);
  owned->resize(consumed);
  if (owned->capacity() - owned->size() > owned->capacity() / 8) owned->shrink_to_fit();
  batch->text_ = *owned;
  batch->textOwner_ = std::move(owned);
  batch->MovePhotosOutOfText();
  batch->TrimSlack();
  assert(batch->SpansInside());
  result.batch = std::move(batch);
  return result;
}

PartialCards ParseCardsOfText(const std::shared_ptr<const std::wstring>& text, size_t& from,
                              unsigned fileCodePage, size_t maxCards) {
  PartialCards result;
  auto batch = std::make_shared<CardBatch>();
  batch->textOwner_ = text;
  batch->textBase_ = std::min(from, text->size());
  batch->text_ = std::wstring_view(*text).substr(batch->textBase_);
  CardAssembler assembler(*batch, fileCodePage, *text);
  const size_t consumed = assembler.RunCards(std::max<size_t>(maxCards, 1));
  batch->text_ = batch->text_.substr(0, consumed);
  from = batch->textBase_ + consumed;
  batch->TrimSlack();
  assert(batch->SpansInside());
  result.batch = std::move(batch);
  return result;
}

std::vector<uint8_t> DecodePhotoSource(std::wstring_view source) {
  // The same steps as the parse that found the photo, over its lines alone.
  LineReader reader(source);
  if (!reader.Next()) return {};
  PropertyLine line;
  if (!ParsePropertyLine(TrimSpace(reader.Line()), line)) return {};
  std::wstring continued;
  if (line.quotedPrintable) {
    continued.assign(line.value);
    ContinueQuotedPrintable(reader, continued);
    line.value = continued;
  }
  std::wstring data;
  const std::wstring_view photo = PhotoData(line, reader, data);
  if (line.valueIsUrl || IsPhotoAddress(line, photo)) return {};
  return DecodeBase64(SkipDataUriHeader(photo));
}

}  // namespace kontaktel
