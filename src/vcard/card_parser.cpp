#include "vcard/card_parser.h"

#include <algorithm>
#include <array>

#include "text/text_util.h"
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
std::wstring JoinNonEmptySegments(std::wstring_view decoded, std::wstring_view separator) {
  std::wstring joined;
  // At most the segments and a separator per ";": one allocation, no slack to speak of.
  const auto semicolons = static_cast<size_t>(std::count(decoded.begin(), decoded.end(), L';'));
  joined.reserve(decoded.size() - semicolons + separator.size() * semicolons);
  size_t start = 0;
  for (;;) {
    const size_t end = decoded.find(L';', start);
    const std::wstring_view trimmed = TrimSpace(decoded.substr(
        start, end == std::wstring_view::npos ? std::wstring_view::npos : end - start));
    if (!trimmed.empty()) {
      if (!joined.empty()) joined += separator;
      joined += trimmed;
    }
    if (end == std::wstring_view::npos) return joined;
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

// The record of one line, or nothing for the lines the details never show.
// The raw prefix is copied only for a record that is kept.
void AppendProperty(std::vector<CardProperty>& properties, const std::wstring& name,
                    std::wstring_view rawPrefix, std::wstring&& value, bool freeText) {
  if (name == L"X-ABLABEL"sv) {
    properties.push_back(
        CardProperty{name, std::wstring(rawPrefix), std::move(value), false, freeText});
  } else if (name == L"PHOTO"sv) {
    properties.push_back(
        CardProperty{name, std::wstring(rawPrefix), std::wstring(), false, freeText});
  } else if (!IsHidden(name) && (!value.empty() || freeText)) {
    properties.push_back(
        CardProperty{name, std::wstring(rawPrefix), std::move(value), true, freeText});
  }
}

// An upper bound on the cards of a file: each begins with a BEGIN:VCARD line.
size_t CountBeginLines(const std::vector<std::wstring_view>& lines) {
  size_t count = 0;
  for (const std::wstring_view line : lines) {
    // Most lines are ruled out by their first character.
    if (line.empty() || (line[0] != L'B' && line[0] != L'b' && !IsSpaceChar(line[0]))) continue;
    const std::wstring_view trimmed = TrimSpace(line);
    if (trimmed.size() == 11 && EqualsAsciiUpper(trimmed, L"BEGIN:VCARD"sv)) ++count;
  }
  return count;
}

class CardAssembler {
 public:
  explicit CardAssembler(const LineList& lines) : lines_(lines.lines) {}

  CardSet Run() {
    // Sized once: growing a list of large cards would hold two copies of it.
    cards_.reserve(CountBeginLines(lines_));
    for (index_ = 0; index_ < lines_.size(); ++index_) HandleLine(TrimSpace(lines_[index_]));
    if (inCard_) FinishCard();
    return std::move(cards_);
  }

 private:
  void HandleLine(std::wstring_view line) {
    if (line.empty()) return;
    if (EqualsAsciiUpper(line, L"BEGIN:VCARD"sv)) {
      // A nested or repeated BEGIN drops whatever the unfinished card holds.
      card_ = Card{};
      properties_.clear();
      inCard_ = true;
      return;
    }
    if (EqualsAsciiUpper(line, L"END:VCARD"sv)) {
      if (inCard_) {
        FinishCard();
        card_ = Card{};
        inCard_ = false;
      }
      return;
    }
    if (!inCard_) return;
    if (!ParsePropertyLine(line, property_)) return;
    if (property_.quotedPrintable) {
      continued_.assign(property_.value);
      ContinueQuotedPrintable(lines_, index_, continued_);
      property_.value = continued_;
    }
    HandleProperty(property_);
  }

  // The records gather in a list reused from card to card and move into the
  // card at its end, so that each card's list is allocated once at its size.
  void FinishCard() {
    card_.properties.reserve(properties_.size());
    for (CardProperty& property : properties_) card_.properties.push_back(std::move(property));
    properties_.clear();
    cards_.push_back(std::move(card_));
  }

  // D(X): the value decoded, then unescaped.
  static std::wstring Decode(const PropertyLine& line, std::wstring_view text) {
    if (line.quotedPrintable) {
      std::wstring decoded = DecodeValue(text, true, line.charset);
      if (decoded.find(L'\\') == std::wstring::npos) return decoded;  // nothing to unescape
      return UnescapeText(decoded);
    }
    // Most values hold neither escapes nor trailing "=": one copy is enough.
    const size_t end = text.find_last_not_of(L'=');
    text = text.substr(0, end == std::wstring_view::npos ? 0 : end + 1);
    if (text.find(L'\\') == std::wstring_view::npos) return std::wstring(text);
    return UnescapeText(text);
  }

  void Add(const PropertyLine& line, std::wstring value, bool freeText = false) {
    AppendProperty(properties_, line.name, line.rawPrefix, std::move(value), freeText);
  }

  // Values that fill a list when not empty, and the first of which fills a field.
  void AddListed(const PropertyLine& line, std::wstring& first, std::vector<std::wstring>& all) {
    std::wstring value = Decode(line, line.value);
    if (value.empty()) return;
    if (first.empty()) first = value;
    all.push_back(value);
    Add(line, std::move(value));
  }

  void AddTyped(const PropertyLine& line, std::vector<TypedValue>& list) {
    std::wstring value = Decode(line, line.value);
    if (value.empty()) return;
    list.push_back(TypedValue{value, CollectTypes(line.params)});
    Add(line, std::move(value));
  }

  void HandleName(const PropertyLine& line) {
    // Each component is decoded by itself, so an escaped ";" does not split.
    std::wstring joined;
    joined.reserve(line.value.size());
    size_t start = 0;
    for (size_t i = 0;; ++i) {
      const size_t end = line.value.find(L';', start);
      std::wstring part = Decode(
          line, line.value.substr(
                    start, end == std::wstring_view::npos ? std::wstring_view::npos : end - start));
      const std::wstring_view trimmed = TrimSpace(part);
      if (!trimmed.empty()) {
        if (!joined.empty()) joined += L' ';
        joined += trimmed;
      }
      if (i == 0) card_.familyName = std::move(part);
      if (i == 1) card_.givenName = std::move(part);
      if (end == std::wstring_view::npos) break;
      start = end + 1;
    }
    Add(line, std::move(joined));
  }

  void HandlePhoto(PropertyLine& line) {
    if (line.valueIsUrl) {
      card_.photoUrl = Decode(line, line.value);
    } else {
      continued_.assign(line.value);
      ContinuePhoto(lines_, index_, continued_);
      const std::wstring_view data = continued_;
      if (!line.base64 && (StartsWith(data, L"http://") || StartsWith(data, L"https://"))) {
        card_.photoUrl = data;
      } else {
        std::vector<uint8_t> bytes = DecodeBase64(SkipDataUriHeader(data));
        if (!bytes.empty()) card_.photoData = std::move(bytes);
      }
    }
    Add(line, std::wstring());
  }

  void HandleCustom(const PropertyLine& line) {
    std::wstring value = Decode(line, line.value);
    const size_t colon = value.find(L':');
    CustomField field;
    std::wstring_view rest = value;
    if (colon != std::wstring::npos) {
      field.key = value.substr(0, colon);
      rest = rest.substr(colon + 1);
    }
    field.fields = SplitEscaped(rest);
    card_.customFields.push_back(std::move(field));
    Add(line, std::move(value));
  }

  void HandleProperty(PropertyLine& line) {
    const std::wstring_view name = line.name;
    if (name == L"N"sv) return HandleName(line);
    if (name == L"PHOTO"sv) return HandlePhoto(line);
    if (name == L"X-ANDROID-CUSTOM"sv) return HandleCustom(line);
    if (name == L"TEL"sv) return AddTyped(line, card_.phones);
    if (name == L"EMAIL"sv) return AddTyped(line, card_.emails);
    if (name == L"URL"sv) return AddListed(line, card_.url, card_.urls);
    if (name == L"LANG"sv) return AddListed(line, card_.language, card_.languages);
    if (name == L"NOTE"sv) {
      std::wstring note = Decode(line, line.value);
      if (!note.empty()) {
        if (card_.note.empty()) card_.note = note;
        card_.notes.push_back(note);
      }
      return Add(line, std::move(note), true);
    }
    if (name == L"MEMBER"sv) {
      std::wstring member = Decode(line, line.value);
      if (member.empty()) return;
      card_.members.push_back(member);
      return Add(line, std::move(member));
    }
    if (name == L"ADR"sv) {
      std::wstring address = JoinNonEmptySegments(Decode(line, line.value), L", ");
      if (address.empty()) return;
      card_.addresses.push_back(address);
      return Add(line, std::move(address));
    }
    if (name == L"ORG"sv) {
      card_.organization = Decode(line, line.value);
      std::wstring joined = JoinNonEmptySegments(card_.organization, L", ");
      if (!joined.empty()) card_.organization = std::move(joined);
      return Add(line, card_.organization);
    }
    if (name == L"X-GENDER"sv) {
      std::wstring gender = Decode(line, line.value);
      if (card_.gender.empty()) card_.gender = gender;
      return Add(line, std::move(gender));
    }
    std::wstring* field = FieldFor(name);
    if (field == nullptr) {
      // A hidden line other than a label leaves no record: nothing to decode.
      if (IsHidden(name) && name != L"X-ABLABEL"sv) return;
      return Add(line, Decode(line, line.value));
    }
    *field = Decode(line, line.value);
    Add(line, *field);
  }

  // The fields that every line of their name overwrites, an empty value too.
  std::wstring* FieldFor(std::wstring_view name) {
    if (name == L"FN"sv) return &card_.fullName;
    if (name == L"TITLE"sv) return &card_.title;
    if (name == L"BDAY"sv) return &card_.birthday;
    if (name == L"GENDER"sv) return &card_.gender;
    if (name == L"KIND"sv) return &card_.kind;
    return nullptr;
  }

  const std::vector<std::wstring_view>& lines_;
  size_t index_ = 0;
  PropertyLine property_;                 // reused from line to line
  std::vector<CardProperty> properties_;  // the records of the card being read
  std::wstring continued_;                // a value extended by a continuation rule
  bool inCard_ = false;
  Card card_;
  CardSet cards_;
};

}  // namespace

void AddProperty(Card& card, const std::wstring& name, std::wstring rawPrefix, std::wstring value,
                 bool freeText) {
  AppendProperty(card.properties, name, rawPrefix, std::move(value), freeText);
}

CardSet ParseCards(std::wstring_view text) {
  const LineList lines = UnfoldText(text);
  return CardAssembler(lines).Run();
}

}  // namespace kontaktel
