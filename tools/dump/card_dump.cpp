#include "card_dump.h"

#include "present/card_accessors.h"
#include "present/details.h"
#include "present/email.h"

namespace kontaktel {

namespace {

void WriteTexts(JsonWriter& json, const char* key, const TextList& texts) {
  json.Key(key);
  json.BeginArray();
  for (const std::wstring_view text : texts) json.String(text);
  json.EndArray();
}

void WriteText(JsonWriter& json, const char* key, std::wstring_view text) {
  json.Key(key);
  json.String(text);
}

void WriteTyped(JsonWriter& json, const char* key, const RecordRange<TypedRecord>& values) {
  json.Key(key);
  json.BeginArray();
  for (const TypedValue value : values) {
    json.BeginObject();
    WriteText(json, "value", value.value);
    WriteTexts(json, "types", value.types);
    json.EndObject();
  }
  json.EndArray();
}

void WriteCard(JsonWriter& json, const Card& card) {
  json.BeginObject();
  WriteText(json, "fullName", card.fullName());
  WriteText(json, "familyName", card.familyName());
  WriteText(json, "givenName", card.givenName());
  WriteText(json, "organization", card.organization());
  WriteText(json, "title", card.title());
  WriteText(json, "url", card.url());
  WriteText(json, "birthday", card.birthday());
  WriteText(json, "note", card.note());
  WriteText(json, "gender", card.gender());
  WriteText(json, "language", card.language());
  WriteText(json, "kind", card.kind());
  WriteTexts(json, "members", card.members());
  WriteTexts(json, "languages", card.languages());
  WriteTexts(json, "urls", card.urls());
  WriteTyped(json, "phones", card.phones());
  WriteTyped(json, "emails", card.emails());
  WriteTexts(json, "addresses", card.addresses());
  json.Key("photoSize");
  if (card.hasPhotoData()) {
    json.Number(card.photoSize());
  } else {
    json.Null();
  }
  WriteText(json, "photoUrl", card.photoUrl());
  WriteTexts(json, "notes", card.notes());
  json.Key("customFields");
  json.BeginArray();
  for (const CustomField field : card.customFields()) {
    json.BeginObject();
    WriteText(json, "key", field.key);
    WriteTexts(json, "fields", field.fields);
    json.EndObject();
  }
  json.EndArray();
  json.Key("properties");
  json.BeginArray();
  for (const CardProperty property : card.properties()) {
    json.BeginObject();
    WriteText(json, "name", property.name);
    WriteText(json, "rawPrefix", property.rawPrefix);
    WriteText(json, "value", property.value);
    json.Key("visible");
    json.Bool(property.visible);
    json.Key("freeText");
    json.Bool(property.freeText);
    json.EndObject();
  }
  json.EndArray();
  // What the viewer shows of the card: list texts and the details pane.
  WriteText(json, "displayName", CardDisplayName(card));
  WriteText(json, "firstPhone", FirstPhone(card));
  WriteText(json, "firstEmail", FirstEmail(card));
  WriteText(json, "fallbackEmail", FallbackEmail(card));
  WriteText(json, "detailsEn", RenderCardDetails(card, false));
  WriteText(json, "detailsRu", RenderCardDetails(card, true));
  json.EndObject();
}

// A terminal wants LF; the details text uses CR LF like the rich edit control.
std::wstring TerminalLines(std::wstring_view text) {
  std::wstring lines;
  lines.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') continue;
    lines += text[i];
  }
  return lines;
}

std::wstring TypesSuffix(const TypedValue& value) {
  std::wstring suffix;
  for (const std::wstring_view type : value.types) {
    suffix += suffix.empty() ? L" (" : L", ";
    suffix += type;
  }
  return suffix.empty() ? suffix : suffix + L")";
}

}  // namespace

void WriteCardsJson(JsonWriter& json, std::wstring_view fileName, unsigned codePage,
                    const CardSet& cards) {
  json.BeginObject();
  json.Key("file");
  json.String(fileName);
  json.Key("codePage");
  json.Number(codePage);
  json.Key("cards");
  json.BeginArray();
  for (const Card card : cards) WriteCard(json, card);
  json.EndArray();
  json.EndObject();
}

void DumpCardDetails(Output& out, std::wstring_view fileName, const CardSet& cards, bool russian) {
  out << "== " << fileName << ": " << cards.size() << (cards.size() == 1 ? " card\n" : " cards\n");
  for (size_t i = 0; i < cards.size(); ++i) {
    std::wstring name = CardDisplayName(cards[i]);
    if (name.empty()) name = russian ? L"(пустая карточка)" : L"(empty card)";
    out << "-- " << (i + 1) << ". " << name << "\n";
    const std::wstring details = TerminalLines(RenderCardDetails(cards[i], russian));
    out << details;
    // One empty line after each card; a note block already ends with one.
    if (!details.ends_with(L"\n\n")) out << "\n";
  }
}

void DumpCardSummary(Output& out, std::wstring_view fileName, const CardSet& cards) {
  out << "== " << fileName << ": " << cards.size() << (cards.size() == 1 ? " card\n" : " cards\n");
  for (size_t i = 0; i < cards.size(); ++i) {
    const Card card = cards[i];
    std::wstring name(card.fullName());
    if (name.empty()) {
      name = card.givenName();
      if (!name.empty()) name += L' ';
      name += card.familyName();
    }
    if (name.empty()) name = card.organization();
    out << (i + 1) << ". " << (name.empty() ? std::wstring(L"(no name)") : name) << "\n";
    for (const TypedValue phone : card.phones()) out << "   phone: " << phone.value << TypesSuffix(phone) << "\n";
    for (const TypedValue email : card.emails()) out << "   e-mail: " << email.value << TypesSuffix(email) << "\n";
    if (card.hasPhotoData()) out << "   photo: " << card.photoSize() << " bytes\n";
    if (!card.photoUrl().empty()) out << "   photo address: " << card.photoUrl() << "\n";
  }
}

}  // namespace kontaktel
