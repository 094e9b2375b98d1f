#include "present/readings.h"

#include "present/caption_table.h"
#include "text/text_util.h"

namespace kontaktel {

namespace {

// clang-format off
constexpr CaptionRow kSexRows[] = {
    {L"M", L"Male", L"Мужской"},
    {L"F", L"Female", L"Женский"},
    {L"O", L"Other", L"Другой"},
    {L"N", L"None", L"Не указан"},
    {L"U", L"Unknown", L"Неизвестно"},
};

constexpr CaptionRow kKindRows[] = {
    {L"INDIVIDUAL", L"Individual", L"Человек"},
    {L"GROUP", L"Group", L"Группа"},
    {L"ORG", L"Organization", L"Организация"},
    {L"ORGANIZATION", L"Organization", L"Организация"},
    {L"LOCATION", L"Location", L"Место"},
};
// clang-format on

const CaptionTable& SexTable() {
  static const CaptionTable table(kSexRows);
  return table;
}

const CaptionTable& KindTable() {
  static const CaptionTable table(kKindRows);
  return table;
}

}  // namespace

std::wstring GenderReading(std::wstring_view value, bool russian) {
  std::wstring_view sex = value;
  std::wstring_view identity;
  if (const size_t semicolon = value.find(L';'); semicolon != std::wstring_view::npos) {
    sex = value.substr(0, semicolon);
    identity = TrimSpace(value.substr(semicolon + 1));
  }
  const std::wstring key = AsciiUpper(TrimSpace(sex));
  const wchar_t* caption = SexTable().Find(key, russian);
  std::wstring reading = caption != nullptr ? std::wstring(caption) : key;
  // M;Male reads Male, not Male (Male).
  if (!identity.empty() && identity != reading) {
    reading += L" (";
    reading += identity;
    reading += L')';
  }
  return reading;
}

std::wstring KindReading(std::wstring_view value, bool russian) {
  const wchar_t* caption = KindTable().Find(AsciiUpper(TrimSpace(value)), russian);
  return caption != nullptr ? std::wstring(caption) : std::wstring(value);
}

}  // namespace kontaktel
