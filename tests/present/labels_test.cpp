#include "present/labels.h"

#include <gtest/gtest.h>

namespace kontaktel {
namespace {

struct Row {
  const wchar_t* key;
  const wchar_t* english;
  const wchar_t* russian;
};

// Every caption as the details pane must show it. A typo here or in the code
// shows to every user, so the whole table is pinned.
const Row kFieldCaptions[] = {
    {L"N", L"Name", L"Имя"},
    {L"FN", L"Full name", L"Полное имя"},
    {L"NICKNAME", L"Nickname", L"Псевдоним"},
    {L"ORG", L"Organization", L"Компания"},
    {L"TITLE", L"Role", L"Должность"},
    {L"BDAY", L"Birthday", L"День рождения"},
    {L"ANNIVERSARY", L"Anniversary", L"Годовщина"},
    {L"TEL", L"Phone", L"Телефон"},
    {L"EMAIL", L"Email", L"Почта"},
    {L"ADR", L"Address", L"Адрес"},
    {L"URL", L"URL", L"URL"},
    {L"IMPP", L"IM", L"IM"},
    {L"NOTE", L"Note", L"Заметка"},
    {L"CATEGORIES", L"Categories", L"Категории"},
    {L"PHOTO", L"Photo", L"Фото"},
    {L"REV", L"Last modified", L"Изменено"},
    {L"UID", L"UID", L"UID"},
    {L"KEY", L"Key", L"Ключ"},
    {L"PRODID", L"Product ID", L"Идентификатор продукта"},
    {L"VERSION", L"Version", L"Версия"},
    {L"GENDER", L"Gender", L"Пол"},
    {L"LANG", L"Language", L"Язык"},
    {L"KIND", L"Kind", L"Тип контакта"},
    {L"MEMBER", L"Member", L"Участник"},
    {L"X-GENDER", L"Gender", L"Пол"},
    {L"X-ABDATE", L"Additional Date", L"Дополнительная дата"},
    {L"X-ABLABEL", L"Label", L"Метка"},
    {L"X-ABRELATEDNAMES", L"Related Name", L"Связанное имя"},
    {L"X-ALTBDAY", L"Alternative Birthday", L"Альтернативная дата рождения"},
    {L"X-ANDROID-CUSTOM", L"Android Custom Event", L"Пользовательское событие Android"},
    {L"X-MAIDENNAME", L"Maiden Name", L"Девичья фамилия"},
    {L"X-PHONETIC-MIDDLE-NAME", L"Phonetic Middle Name", L"Фонетическое отчество"},
    {L"X-PHONETIC-ORG", L"Phonetic Organization Name", L"Фонетическое название организации"},
    {L"X-PHONETIC-FIRST-NAME", L"Phonetic First Name", L"Фонетическое имя"},
    {L"X-PHONETIC-LAST-NAME", L"Phonetic Last Name", L"Фонетическая фамилия"},
    {L"X-SOCIALPROFILE", L"Social Profile", L"Социальный профиль"},
};

const Row kTypeCaptions[] = {
    {L"HOME", L"Home", L"Дом"},
    {L"WORK", L"Work", L"Работа"},
    {L"CELL", L"Mobile", L"Мобильный"},
    {L"TEXT", L"Text", L"Текст"},
    {L"VOICE", L"Voice", L"Голос"},
    {L"FAX", L"Fax", L"Факс"},
    {L"VIDEO", L"Video", L"Видео"},
    {L"PAGER", L"Pager", L"Пейджер"},
    {L"BBS", L"BBS", L"BBS"},
    {L"MODEM", L"Modem", L"Модем"},
    {L"ISDN", L"ISDN", L"ISDN"},
    {L"PCS", L"PCS", L"PCS"},
    {L"PREF", L"Preferred", L"Предпочт."},
    {L"INTERNET", L"Internet", L"Интернет"},
    {L"DOM", L"Domestic", L"Внутр."},
    {L"INTL", L"International", L"Междунар."},
    {L"POSTAL", L"Postal", L"Почтовый"},
    {L"PARCEL", L"Parcel", L"Посылки"},
    {L"OTHER", L"Other", L"Другое"},
    {L"TWITTER", L"Twitter", L"Twitter"},
    {L"FACEBOOK", L"Facebook", L"Facebook"},
    {L"FLICKR", L"Flickr", L"Flickr"},
    {L"VND.ANDROID.CURSOR.ITEM/CONTACT_EVENT", L"Contact event (Android)",
     L"Событие контакта (Android)"},
};

std::wstring Lower(std::wstring text) {
  for (wchar_t& c : text) {
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c + (L'a' - L'A'));
  }
  return text;
}

TEST(FieldLabel, GivesEveryCaptionInBothLanguages) {
  for (const Row& row : kFieldCaptions) {
    EXPECT_EQ(FieldLabel(row.key, false), row.english) << row.key;
    EXPECT_EQ(FieldLabel(row.key, true), row.russian) << row.key;
    // Files write names in any case and inside item groups.
    EXPECT_EQ(FieldLabel(Lower(row.key), false), row.english) << row.key;
    EXPECT_EQ(FieldLabel(std::wstring(L"item7.") + row.key, true), row.russian) << row.key;
  }
}

TEST(FieldLabel, ReturnsUnknownNamesExactlyAsPassed) {
  struct Case {
    const wchar_t* name;
    bool russian;
    const wchar_t* expected;
  };
  const Case cases[] = {
      {L"tel", false, L"Phone"},
      {L"item1.tel", true, L"Телефон"},
      {L"ITEM1.Email", false, L"Email"},
      // Only the first dot ends a group: B.TEL has no row.
      {L"a.b.TEL", false, L"a.b.TEL"},
      {L"ROLE", false, L"ROLE"},
      {L"TITLE", false, L"Role"},
      {L"X-GENDER", true, L"Пол"},
      {L"", false, L""},
      {L"", true, L""},
      {L"x-custom", false, L"x-custom"},
      {L"item2.X-CUSTOM", true, L"item2.X-CUSTOM"},
      {L"X-ABADR", false, L"X-ABADR"},
      // A dot at the end leaves nothing to look up.
      {L"item1.", false, L"item1."},
      // Cyrillic is never upper-cased into a match.
      {L"тел", false, L"тел"},
      {L" TEL", false, L" TEL"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FieldLabel(c.name, c.russian), c.expected) << c.name;
  }
}

TEST(TypeLabel, GivesEveryCaptionInBothLanguages) {
  for (const Row& row : kTypeCaptions) {
    EXPECT_EQ(TypeLabel(row.key, false), row.english) << row.key;
    EXPECT_EQ(TypeLabel(row.key, true), row.russian) << row.key;
    EXPECT_EQ(TypeLabel(Lower(row.key), true), row.russian) << row.key;
  }
}

TEST(TypeLabel, AppliesAliasesAndKeepsUnknownValues) {
  struct Case {
    const wchar_t* type;
    bool russian;
    const wchar_t* expected;
  };
  const Case cases[] = {
      {L"iphone", false, L"Mobile"},
      {L"IPHONE", true, L"Мобильный"},
      {L"msg", true, L"Текст"},
      {L"MSG", false, L"Text"},
      {L"vnd.android.cursor.item/contact_event", false, L"Contact event (Android)"},
      {L"TWITTER", true, L"Twitter"},
      // Trimming is the caller's job.
      {L"Home ", false, L"Home "},
      {L" HOME", true, L" HOME"},
      {L"x-mobile2", false, L"x-mobile2"},
      {L"Skype", true, L"Skype"},
      {L"", false, L""},
      // A group prefix is not stripped from a type.
      {L"item1.HOME", false, L"item1.HOME"},
      {L"voice,cell", false, L"voice,cell"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TypeLabel(c.type, c.russian), c.expected) << c.type;
  }
}

}  // namespace
}  // namespace kontaktel
