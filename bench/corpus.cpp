#include "corpus.h"

#include <array>
#include <string_view>
#include <vector>

namespace kontaktel::bench {

namespace {

// splitmix64: small, fast and the same on every platform.
class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed) {}
  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  size_t Below(size_t n) { return static_cast<size_t>(Next() % n); }
  template <typename T, size_t N>
  const T& Pick(const std::array<T, N>& items) { return items[Below(N)]; }

 private:
  uint64_t state_;
};

constexpr std::array<std::string_view, 12> kGivenLatin{
    "John", "Anna", "Michael", "Laura", "David", "Sophie", "Thomas", "Emma", "Peter", "Julia", "Lukas", "Maria"};
constexpr std::array<std::string_view, 12> kFamilyLatin{
    "Smith", "Müller", "Johnson", "Schmidt", "Brown", "Fischer", "Garcia", "Weber", "Rossi", "Dubois", "Novak", "Kowalski"};
constexpr std::array<std::string_view, 10> kGivenCyrillic{
    "Иван", "Ольга", "Алексей", "Мария", "Сергей", "Наталья", "Дмитрий", "Елена", "Андрей", "Татьяна"};
constexpr std::array<std::string_view, 10> kFamilyCyrillic{
    "Иванов", "Смирнова", "Кузнецов", "Попова", "Соколов", "Лебедева", "Козлов", "Новикова", "Морозов", "Волкова"};
constexpr std::array<std::string_view, 8> kCompanies{
    "Acme Corporation", "Globex GmbH", "Initech", "Umbrella Ltd.", "ООО Ромашка", "Stark Industries",
    "Wayne Enterprises", "АО Вектор"};
constexpr std::array<std::string_view, 6> kTitles{
    "Engineer", "Sales Manager", "Director", "Менеджер", "Accountant", "Главный инженер"};
constexpr std::array<std::string_view, 8> kNotes{
    "Met at the conference in Berlin\\, 2023. Interested in the new product line.",
    "Позвонить после обеда\\, спросить про документы.\\nКод домофона: 45",
    "Prefers e-mail. Do not call before 10:00.",
    "Birthday party every year in June\\; bring cake.",
    "Старый номер больше не работает.",
    "Assistant: Jane (ext. 204)\\nFloor 3\\, room 312",
    "Vegetarian. Allergic to nuts.",
    "Знакомый Сергея\\, работает в банке.",
};
constexpr std::array<std::string_view, 6> kLabels{
    "_$!<Other>!$_", "_$!<HomePage>!$_", "_$!<Anniversary>!$_", "_$!<Spouse>!$_", "Dacha", "Gym"};
constexpr std::array<std::string_view, 5> kStreets{
    "Hauptstraße", "Main Street", "ул. Ленина", "Rue de la Paix", "Via Roma"};
constexpr std::array<std::string_view, 5> kCities{"Berlin", "Springfield", "Москва", "Paris", "Roma"};

std::string Digits(Random& random, size_t count) {
  std::string digits;
  for (size_t i = 0; i < count; ++i) digits += static_cast<char>('0' + random.Below(10));
  return digits;
}

std::string Phone(Random& random) {
  return "+" + Digits(random, 1) + " " + Digits(random, 3) + " " + Digits(random, 3) + "-" +
         Digits(random, 2) + "-" + Digits(random, 2);
}

std::string Ascii(std::string_view text) {
  std::string ascii;
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x80 && c != ' ') ascii += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  }
  return ascii.empty() ? "user" : ascii;
}

std::string QuotedPrintable(std::string_view bytes) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const char c : bytes) {
    const auto u = static_cast<unsigned char>(c);
    if (u > 32 && u < 127 && c != '=' && c != ';') {
      out += c;
    } else {
      out += '=';
      out += kHex[u >> 4];
      out += kHex[u & 15];
    }
  }
  return out;
}

// UTF-8 Cyrillic to Windows-1251 bytes (the letters А to я, Ё and ё).
std::string ToWindows1251(std::string_view utf8) {
  std::string out;
  for (size_t i = 0; i < utf8.size(); ++i) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    if (c < 0x80 || i + 1 >= utf8.size()) {
      out += static_cast<char>(c);
      continue;
    }
    const unsigned code = ((c & 0x1F) << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3F);
    if (code >= 0x410 && code <= 0x44F) out += static_cast<char>(0xC0 + (code - 0x410));
    else if (code == 0x401) out += static_cast<char>(0xA8);
    else if (code == 0x451) out += static_cast<char>(0xB8);
    else out += '?';
  }
  return out;
}

std::string Base64(const std::vector<uint8_t>& bytes) {
  static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  size_t i = 0;
  for (; i + 2 < bytes.size(); i += 3) {
    const unsigned v = bytes[i] << 16 | bytes[i + 1] << 8 | bytes[i + 2];
    for (int k = 18; k >= 0; k -= 6) out += kAlphabet[(v >> k) & 63];
  }
  if (i < bytes.size()) {
    const unsigned v = bytes[i] << 16 | (i + 1 < bytes.size() ? bytes[i + 1] << 8 : 0);
    out += kAlphabet[(v >> 18) & 63];
    out += kAlphabet[(v >> 12) & 63];
    out += i + 1 < bytes.size() ? kAlphabet[(v >> 6) & 63] : '=';
    out += '=';
  }
  return out;
}

// A JPEG-shaped blob: the markers a decoder looks at first, then noise.
std::vector<uint8_t> FakeJpeg(Random& random, bool large = false) {
  std::vector<uint8_t> bytes{0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 'J', 'F', 'I', 'F', 0x00};
  const size_t size = large ? 15000 + random.Below(10000) : 3000 + random.Below(12000);
  while (bytes.size() < size) bytes.push_back(static_cast<uint8_t>(random.Next()));
  bytes.push_back(0xFF);
  bytes.push_back(0xD9);
  return bytes;
}

// Folds a long line as exporters do: at `width` octets, continuation lines
// begin with a blank, and a UTF-8 character is never cut in two.
void AppendFolded(std::string& out, std::string_view line, size_t width) {
  size_t at = 0;
  bool first = true;
  while (at < line.size()) {
    size_t take = std::min(line.size() - at, first ? width : width - 1);
    while (take > 1 && at + take < line.size() && (static_cast<unsigned char>(line[at + take]) & 0xC0) == 0x80) {
      --take;
    }
    if (!first) out += ' ';
    out.append(line.substr(at, take));
    out += "\r\n";
    at += take;
    first = false;
  }
}

void AppleCard(std::string& out, Random& random, bool photos, size_t index,
               bool photoExport = false) {
  const bool cyrillic = random.Below(3) == 0;
  const std::string given(cyrillic ? random.Pick(kGivenCyrillic) : random.Pick(kGivenLatin));
  const std::string family(cyrillic ? random.Pick(kFamilyCyrillic) : random.Pick(kFamilyLatin));
  out += "BEGIN:VCARD\r\nVERSION:3.0\r\nPRODID:-//Apple Inc.//iPhone OS 17.2//EN\r\n";
  out += "N:" + family + ";" + given + ";;;\r\nFN:" + given + " " + family + "\r\n";
  if (random.Below(2)) out += "ORG:" + std::string(random.Pick(kCompanies)) + ";\r\nTITLE:" + std::string(random.Pick(kTitles)) + "\r\n";
  const std::string mail = Ascii(given) + "." + Ascii(family) + std::to_string(index) + "@example.com";
  out += "item1.EMAIL;type=INTERNET;type=pref:" + mail + "\r\nitem1.X-ABLabel:_$!<Other>!$_\r\n";
  if (random.Below(2)) out += "EMAIL;type=INTERNET;type=WORK:" + Ascii(family) + "@work.example\r\n";
  out += "TEL;type=CELL;type=VOICE;type=pref:" + Phone(random) + "\r\n";
  if (random.Below(2)) out += "TEL;type=HOME;type=VOICE:" + Phone(random) + "\r\n";
  out += "item2.TEL:" + Phone(random) + "\r\nitem2.X-ABLabel:" + std::string(random.Pick(kLabels)) + "\r\n";
  if (random.Below(2)) {
    out += "item3.ADR;type=HOME;type=pref:;;" + std::string(random.Pick(kStreets)) + " " + Digits(random, 2) +
           ";" + std::string(random.Pick(kCities)) + ";;" + Digits(random, 5) + ";\r\nitem3.X-ABADR:de\r\n";
  }
  if (random.Below(3) == 0) out += "BDAY;value=date:19" + Digits(random, 2) + "-0" + Digits(random, 1) + "-1" + Digits(random, 1) + "\r\n";
  if (random.Below(2)) AppendFolded(out, "NOTE:" + std::string(random.Pick(kNotes)) + " " + std::string(random.Pick(kNotes)), 75);
  if (photoExport) {
    AppendFolded(out, "PHOTO;ENCODING=b;TYPE=JPEG:" + Base64(FakeJpeg(random, true)), 75);
  } else if (photos && random.Below(10) == 0) {
    AppendFolded(out, "PHOTO;ENCODING=b;TYPE=JPEG:" + Base64(FakeJpeg(random)), 75);
  }
  out += "X-ABUID:" + Digits(random, 8) + "-" + Digits(random, 4) + ":ABPerson\r\nEND:VCARD\r\n";
}

void PhoneCard(std::string& out, Random& random) {
  const std::string given(random.Pick(kGivenCyrillic));
  const std::string family(random.Pick(kFamilyCyrillic));
  const bool windows1251 = random.Below(2) == 0;
  const std::string charset = windows1251 ? "WINDOWS-1251" : "UTF-8";
  auto encode = [&](const std::string& text) { return QuotedPrintable(windows1251 ? ToWindows1251(text) : text); };
  out += "BEGIN:VCARD\r\nVERSION:2.1\r\n";
  out += "N;CHARSET=" + charset + ";ENCODING=QUOTED-PRINTABLE:" + encode(family) + ";" + encode(given) + ";;;\r\n";
  out += "FN;CHARSET=" + charset + ";ENCODING=QUOTED-PRINTABLE:" + encode(given + " " + family) + "\r\n";
  out += "TEL;CELL;PREF:" + Phone(random) + "\r\n";
  if (random.Below(2)) out += "TEL;HOME:" + Phone(random) + "\r\n";
  if (random.Below(3) == 0) {
    // vCard 2.1 soft line breaks inside a long quoted-printable note.
    const std::string note = encode(std::string(random.Pick(kNotes)));
    out += "NOTE;CHARSET=" + charset + ";ENCODING=QUOTED-PRINTABLE:";
    for (size_t at = 0; at < note.size();) {
      size_t take = std::min<size_t>(60, note.size() - at);
      while (take < note.size() - at && take > 2 && (note[at + take - 1] == '=' || note[at + take - 2] == '=')) --take;
      out += note.substr(at, take);
      at += take;
      out += at < note.size() ? "=\r\n" : "\r\n";
    }
  }
  out += "END:VCARD\r\n";
}

void Version4Card(std::string& out, Random& random, size_t index) {
  const std::string given(random.Pick(kGivenLatin));
  const std::string family(random.Pick(kFamilyLatin));
  out += "BEGIN:VCARD\r\nVERSION:4.0\r\nKIND:individual\r\n";
  out += "FN:" + given + " " + family + "\r\nN:" + family + ";" + given + ";;;\r\n";
  out += random.Below(2) ? "GENDER:F\r\n" : "GENDER:M\r\n";
  out += "LANG;PREF=1:en\r\nTEL;VALUE=uri;TYPE=\"voice,cell\";PREF=1:tel:" + Phone(random) + "\r\n";
  out += "EMAIL;TYPE=work:" + Ascii(given) + std::to_string(index) + "@example.org\r\n";
  out += "URL:https://example.org/~" + Ascii(family) + "\r\nUID:urn:uuid:" + Digits(random, 8) + "-" +
         Digits(random, 4) + "\r\nEND:VCARD\r\n";
}

}  // namespace

std::string GenerateCorpus(const CorpusOptions& options) {
  Random random(options.seed);
  std::string out;
  out.reserve(options.targetBytes);
  std::string card;
  for (size_t index = 0;; ++index) {
    card.clear();
    const size_t kind = options.photoExport ? 0 : random.Below(10);
    if (kind < 6) AppleCard(card, random, options.photos, index, options.photoExport);
    else if (kind < 9) PhoneCard(card, random);
    else Version4Card(card, random, index);
    if (out.size() + card.size() > options.targetBytes) break;
    out += card;
  }
  return out;
}

}  // namespace kontaktel::bench
