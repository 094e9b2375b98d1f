// The parsed contacts of one file. Everything is held by value; once parsed,
// a CardSet is only read.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kontaktel {

// One telephone number or e-mail address.
struct TypedValue {
  std::wstring value;               // decoded; never empty
  std::vector<std::wstring> types;  // upper-case type tokens in line order, duplicates kept
};

// One X-ANDROID-CUSTOM line.
struct CustomField {
  std::wstring key;                  // text before the first ":", empty when there is none
  std::vector<std::wstring> fields;  // the rest split at ";"; never empty
};

// One property line as the details view shows it.
struct CardProperty {
  std::wstring name;       // upper case, group removed: TEL for item1.tel;type=CELL
  std::wstring rawPrefix;  // text before the first ":" as written
  std::wstring value;      // decoded and unescaped; empty for PHOTO
  bool visible = true;     // false for X-ABLABEL and PHOTO records
  bool freeText = false;   // NOTE records, kept even when empty
};

struct Card {
  std::wstring fullName;
  std::wstring familyName;
  std::wstring givenName;
  std::wstring organization;
  std::wstring title;
  std::wstring url;
  std::wstring birthday;
  std::wstring note;
  std::wstring gender;
  std::wstring language;
  std::wstring kind;
  std::vector<std::wstring> members;
  std::vector<std::wstring> languages;
  std::vector<std::wstring> urls;
  std::vector<TypedValue> phones;
  std::vector<TypedValue> emails;
  std::vector<std::wstring> addresses;
  std::optional<std::vector<uint8_t>> photoData;
  std::wstring photoUrl;
  std::vector<std::wstring> notes;
  std::vector<CustomField> customFields;
  std::vector<CardProperty> properties;
};

// The cards of one file in the order in which they end in it.
using CardSet = std::vector<Card>;

}  // namespace kontaktel
