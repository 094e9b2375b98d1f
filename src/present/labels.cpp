#include "present/labels.h"

#include "present/caption_table.h"
#include "text/text_util.h"

namespace kontaktel {

namespace {

constexpr CaptionRow kFieldRows[] = {
    {L"N", L"Name", L"Имя"},
    {L"FN", L"Full name", L"Полное имя"},
    {L"NICKNAME", L"Nickname", L"Псевдоним"},
    {L"ORG", L"Organization", L"Компания"},
    // TITLE is the job title, which people read as their role; ROLE has no row.
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

constexpr CaptionRow kTypeRows[] = {
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

const CaptionTable& FieldLabelTable() {
  static const CaptionTable table(kFieldRows);
  return table;
}

const CaptionTable& TypeLabelTable() {
  static const CaptionTable table(kTypeRows);
  return table;
}

}  // namespace

std::wstring FieldLabel(std::wstring_view name, bool russian) {
  std::wstring_view bare = name;
  // Apple's item groups: item1.TEL is captioned as TEL. Only the first dot counts.
  if (const size_t dot = bare.find(L'.'); dot != std::wstring_view::npos) {
    bare.remove_prefix(dot + 1);
  }
  const wchar_t* caption = FieldLabelTable().Find(AsciiUpper(bare), russian);
  return caption != nullptr ? std::wstring(caption) : std::wstring(name);
}

std::wstring TypeLabel(std::wstring_view type, bool russian) {
  std::wstring key = AsciiUpper(type);
  // iPhones write IPHONE for their own number, some phones MSG for texting.
  if (key == L"IPHONE") key = L"CELL";
  if (key == L"MSG") key = L"TEXT";
  const wchar_t* caption = TypeLabelTable().Find(key, russian);
  return caption != nullptr ? std::wstring(caption) : std::wstring(type);
}

}  // namespace kontaktel
